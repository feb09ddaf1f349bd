#include "tables/table_fetch.h"

#include <QUrl>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "tables/table_page.h"

namespace qv5 {
namespace {

// An address for a message: the query may carry a key, and a control
// character must not reach the terminal.
std::string Shown(const QUrl& url) {
    return Utf8ToCp932Lossy(EscapeControls(
        url.toDisplayString(QUrl::RemoveQuery | QUrl::RemoveUserInfo).toStdString()));
}

std::string Failed(const QUrl& url, const std::string& why) {
    return Shown(url) + ": " + why;
}

bool IsWeb(const QUrl& url) {
    return url.scheme() == "http" || url.scheme() == "https";
}

struct Answer {
    std::string body;
    QUrl url;  // what answered
    long status = 0;
};

// One file of the table, whole, from the web or (for a source on this
// machine) from a file.
bool Get(const QUrl& url, const HttpOptions& options, Progress& progress, Answer& out,
         std::string& error) {
    out = Answer{};
    out.url = url;
    if (url.isLocalFile()) {
        const auto path = FromHostPath(url.toLocalFile().toStdString());
        FileBuffer file;
        if (!path || !file.Read(*path, options.max_body_bytes)) {
            error =
                Failed(url, file.too_large() ? Arg(Tr("Tables", "%1 MiB を超えるファイルです。"),
                                                   {std::to_string(options.max_body_bytes >> 20)})
                                             : Tr("Tables", "ファイルを読めません。"));
            return false;
        }
        out.body.assign(file.view());
        return true;
    }
    const HttpResult r = HttpGet(url.toString(QUrl::FullyEncoded).toStdString(), options, progress,
                                 [&out](std::string_view block) {
                                     out.body.append(block);
                                     return true;
                                 });
    out.status = r.status;
    if (!r.effective_url.empty()) out.url = QUrl(QString::fromStdString(r.effective_url));
    switch (r.end) {
        case HttpEnd::Complete:
            return true;
        case HttpEnd::TooLarge:
            error = Failed(url, Arg(Tr("Tables", "%1 MiB を超える応答です。"),
                                    {std::to_string(options.max_body_bytes >> 20)}));
            return false;
        case HttpEnd::StoppedByUser:
        case HttpEnd::StoppedByReader:
            error = Failed(url, Tr("Tables", "中止しました。"));
            return false;
        case HttpEnd::Failed:
            break;
    }
    error = Failed(url, Utf8ToCp932Lossy(EscapeControls(r.error)));
    return false;
}

// `reference` (from a page or a header) against the address that answered.
// A table names web addresses only: a file source reaches files beside it
// by relative references, never by a file: address of its own.
bool Resolve(const QUrl& base, const std::string& reference, const char* field, QUrl& out,
             std::string& error) {
    for (unsigned char c : reference)
        if (c < 0x20 || c == 0x7F) {
            error = Failed(base, Arg(Tr("Tables", "%1 のアドレスに制御文字があります。"), {field}));
            return false;
        }
    const QUrl ref(QString::fromStdString(reference), QUrl::TolerantMode);
    if (!ref.isValid()) {
        error = Failed(base, Arg(Tr("Tables", "%1 のアドレスが正しくありません。"), {field}));
        return false;
    }
    if (!ref.scheme().isEmpty() && !IsWeb(ref)) {
        error = Failed(
            base, Arg(Tr("Tables", "%1 が http でも https でもないアドレス（%2:）を指しています。"),
                      {field, Utf8ToCp932Lossy(ref.scheme().left(20).toStdString())}));
        return false;
    }
    out = base.resolved(ref);
    return true;
}

bool SameFile(const QUrl& a, const QUrl& b) {
    return a.adjusted(QUrl::RemoveFragment) == b.adjusted(QUrl::RemoveFragment);
}

// The header: the source itself when it is one, else the page's meta, else
// header.json beside the page (pages that became script redirects lost
// their meta, and a folder address may answer nothing at all).
bool GetHeader(const QUrl& source, const HttpOptions& options, Progress& progress,
               FetchedTable& out, Answer& header, std::string& error) {
    Answer page;
    std::string page_error;
    const bool folder = source.path().endsWith('/');
    if (!Get(source, options, progress, page, page_error)) {
        if (!folder || page.status == 0) {
            error = page_error;
            return false;
        }
    } else if (source.path().endsWith(".json", Qt::CaseInsensitive) ||
               LooksLikeJsonObject(page.body)) {
        header = std::move(page);
        return true;
    }
    QUrl header_url;
    const std::optional<std::string> meta =
        page_error.empty() ? FindBmsTableMeta(page.body) : std::nullopt;
    if (meta) {
        out.page_url = page.url.toString().toStdString();
        if (!Resolve(page.url, *meta, "bmstable", header_url, error)) return false;
        return Get(header_url, options, progress, header, error);
    }
    header_url = page.url.resolved(QUrl("header.json"));
    if (Get(header_url, options, progress, header, error)) {
        out.page_url = page.url.toString().toStdString();
        return true;
    }
    const std::string beside = error;
    error =
        page_error.empty()
            ? Failed(page.url, Tr("Tables", "bmstable の meta がないページです。")) + "\n" + beside
            : page_error + "\n" + beside;
    return false;
}

}  // namespace

HttpOptions TableHttpOptions() {
    HttpOptions o;
    o.user_agent = std::string("QV5SETUP/") + QV5_VERSION;
    o.max_body_bytes = kMaxTableFileBytes;
    o.accept_compressed = true;
    return o;
}

std::optional<std::string> TableSource(const std::string& argument, const std::string& start_dir,
                                       std::string& error) {
    const QUrl url(QString::fromStdString(argument), QUrl::TolerantMode);
    if (IsWeb(url) && url.isValid() && !url.host().isEmpty())
        return url.toString(QUrl::FullyEncoded).toStdString();
    std::string host = argument;
    if (url.isLocalFile()) host = url.toLocalFile().toStdString();
    const auto real = RealHostPath(FromStartDir(host, start_dir));
    if (!real || IsHostDirectory(*real)) {
        error = Arg(Tr("Tables", "表のアドレスでもファイルでもありません: %1"),
                    {Utf8ToCp932Lossy(EscapeControls(argument))});
        return std::nullopt;
    }
    return QUrl::fromLocalFile(QString::fromStdString(*real)).toString().toStdString();
}

bool FetchTable(const std::string& source, const HttpOptions& options, Progress& progress,
                FetchedTable& out, std::string& error) {
    out = FetchedTable{};
    out.source = source;
    const QUrl url(QString::fromStdString(source));
    if (!IsWeb(url) && !url.isLocalFile()) {
        error = Failed(url, Tr("Tables", "http、https のアドレスかファイルではありません。"));
        return false;
    }
    Answer header, data;
    if (!GetHeader(url, options, progress, out, header, error)) return false;
    out.header_url = header.url.toString().toStdString();
    std::string why;
    if (!ReadTableHeader(header.body, out.header, why)) {
        error = Failed(header.url, why);
        return false;
    }
    QUrl data_url;
    if (!Resolve(header.url, out.header.data_url, "data_url", data_url, error)) return false;
    if (SameFile(data_url, header.url)) {
        error = Failed(header.url, Tr("Tables", "data_url がヘッダー自身を指しています。"));
        return false;
    }
    if (!Get(data_url, options, progress, data, error)) return false;
    out.data_url = data.url.toString().toStdString();
    if (!ReadTableData(data.body, out.data, why)) {
        error = Failed(data.url, why);
        return false;
    }
    if (out.data.entries.empty()) {
        error = Failed(data.url, Tr("Tables", "譜面が一つもない表です。"));
        return false;
    }
    out.header_bytes = std::move(header.body);
    out.data_bytes = std::move(data.body);
    return true;
}

}  // namespace qv5
