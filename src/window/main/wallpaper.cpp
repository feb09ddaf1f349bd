// A dropped picture becomes a wallpaper of the select screen.
#include <QBuffer>
#include <QImage>
#include <QPainter>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "platform/win_path.h"
#include "window/main/drops.h"
#include "window/main/main_window.h"

namespace qv5 {

bool MakeWallpaper(const std::string& path, bool& saved) {
    saved = false;
    auto host = ToHostPath(path);
    if (!host || !PathExists(path)) return false;
    QImage source;
    if (!source.load(QString::fromStdString(*host))) return false;
    QImage target(640, 480, QImage::Format_RGB888);
    if (target.isNull()) return false;
    target.fill(Qt::black);
    {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(0, 0, 640, 480), source);
    }
    std::string name = WinPath(path).LastName();
    name.resize(name.size() > 4 ? name.size() - 4 : 0);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!target.save(&buffer, "BMP")) return true;
    CreateFolder("QV5files\\WallPaper");
    CreateFolder("QV5files\\WallPaper\\Select");
    saved = WriteFileAtomic("QV5files\\WallPaper\\Select\\" + name + ".bmp",
                            std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    return true;
}

bool MainWindow::DropWallpaper(const std::string& path) {
    MainWindow& window = *this;
    if (Ui().MessageBox(&window,
                        Tr("Wallpaper",
                           "画像を壁紙フォルダに追加します。(サイズと形式は自動で変換されます。)\n"
                           "よろしいですか?"),
                        Tr("Wallpaper", "確認"), MsgButtons::YesNo,
                        MsgIcon::Question) != MsgAnswer::Yes)
        return true;
    bool saved = false;
    if (!MakeWallpaper(path, saved)) {
        ShowMessage(&window, Tr("Wallpaper", "画像の読み込みに失敗しました。"),
                    Tr("Wallpaper", "エラー"));
        return false;
    }
    if (!saved) {
        ShowMessage(&window, Tr("Wallpaper", "壁紙を保存できませんでした。"),
                    Tr("Wallpaper", "エラー"));
        return true;
    }
    ShowMessage(&window,
                Tr("Wallpaper", "壁紙を追加しました。壁紙変更はマニュアルを参考にして下さい。"),
                Tr("Wallpaper", "確認"));
    return true;
}

}  // namespace qv5
