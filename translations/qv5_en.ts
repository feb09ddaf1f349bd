<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>About</name>
    <message>
        <source>ライセンス: MIT (Copyright (c) QV5 SETUP developers)</source>
        <translation>Licence: MIT (Copyright (c) QV5 SETUP developers)</translation>
    </message>
    <message>
        <source>QV5 SETUPについて</source>
        <translation>About QV5 SETUP</translation>
    </message>
</context>
<context>
    <name>ArchiveContents</name>
    <message>
        <source>unzip32.dllの読み込みに失敗しました。</source>
        <translation>Could not load unzip32.dll.</translation>
    </message>
    <message>
        <source>UNrar32.DLLの読み込みに失敗しました。</source>
        <translation>Could not load UNrar32.DLL.</translation>
    </message>
    <message>
        <source>unrar32.dllの読み込みに失敗しました。</source>
        <translation>Could not load unrar32.dll.</translation>
    </message>
    <message>
        <source>解凍に必要なライブラリが存在しません。
ダウンロードしますか？</source>
        <translation>The libraries needed to unpack archives are missing.
Download them?</translation>
    </message>
    <message>
        <source>書庫解凍機能を利用するには、unzip32.dll、unrar32.dll、unrar.dllが必要です。
手動で導入する場合は、これらをQV5.exeと同じフォルダに置いてください。</source>
        <translation>Unpacking archives needs unzip32.dll, unrar32.dll and unrar.dll.
To add them by hand, put them in the folder of QV5.exe.</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>Captions</name>
    <message>
        <source>QV5の起動</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>新規プレイヤーデータ作成</source>
        <translation>New player</translation>
    </message>
    <message>
        <source>プレイヤーデータ削除</source>
        <translation>Delete player</translation>
    </message>
    <message>
        <source>ウインドウモード</source>
        <translation>Window mode</translation>
    </message>
    <message>
        <source>QV4/em用インターネットランキングに参加する</source>
        <translation>QV4/EM internet ranking</translation>
    </message>
    <message>
        <source>QV5インターネットランキング(QV5IR)に参加する</source>
        <translation>QV5 InternetRanking</translation>
    </message>
    <message>
        <source>曲データベースの再作成</source>
        <translation>Reset database</translation>
    </message>
    <message>
        <source>QV5IRトップページに接続</source>
        <translation>QV5IR top page</translation>
    </message>
    <message>
        <source>QV5IRマイページに接続</source>
        <translation>QV5IR my page</translation>
    </message>
    <message>
        <source>手動のみ(F8で現在選択中のフォルダの更新を行えます)</source>
        <translation>Manual reload (F8:Update folder/song information)</translation>
    </message>
    <message>
        <source>開いたフォルダに対して自動で行う (フォルダ読み込み時間が少し長くなります)</source>
        <translation>Auto reload type 1</translation>
    </message>
    <message>
        <source>起動時に全フォルダに対して行う (起動時間が長くなります)</source>
        <translation>Auto reload type 2</translation>
    </message>
    <message>
        <source>ウインドウサイズ</source>
        <translation>Window size</translation>
    </message>
    <message>
        <source>データベース自動更新</source>
        <translation>Song reload</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>フォルダを開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>ルートフォルダ追加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>登録解除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>曲検索フォルダ</source>
        <translation>Jukebox</translation>
    </message>
    <message>
        <source>フォルダをドラッグ・ドロップでルートフォルダに登録できます。</source>
        <translation>Add song(s) : Drop zip/rar file(s)</translation>
    </message>
    <message>
        <source>また、ZIP/RARファイルをドロップすることにより曲のインストールが行えます。</source>
        <translation>Add folder(s) : Push add button or drop folder(s)</translation>
    </message>
    <message>
        <source>特殊フォルダ</source>
        <translation>Folder customize</translation>
    </message>
    <message>
        <source>検索最大ヒット数</source>
        <translation>Max result</translation>
    </message>
    <message>
        <source>(0:無制限)</source>
        <translation>(0:No limit)</translation>
    </message>
    <message>
        <source>タイトルのフラッシュ</source>
        <translation>New song flash</translation>
    </message>
    <message>
        <source>時間以内に追加した曲</source>
        <translation>hour</translation>
    </message>
    <message>
        <source>1/3キーを選曲に割り当てる</source>
        <translation>Assign 1/3 key to scroll</translation>
    </message>
    <message>
        <source>システムログの出力(重くなります)</source>
        <translation>Output system log</translation>
    </message>
    <message>
        <source>選曲にポプコンを使う</source>
        <translation>PM controller</translation>
    </message>
    <message>
        <source>フォルダランプ(曲が多いと非常に重くなります)</source>
        <translation>Folder lamp</translation>
    </message>
    <message>
        <source>システムキー(windowsキー等)の無効化</source>
        <translation>Disable system keys</translation>
    </message>
    <message>
        <source>画像フォントを無効にする</source>
        <translation>User font</translation>
    </message>
    <message>
        <source>スキンセレクトでプレビューを表示しない</source>
        <translation>Disable skin preview</translation>
    </message>
    <message>
        <source>暗転中に曲のロードを行う</source>
        <translation>Disable parallel loading</translation>
    </message>
    <message>
        <source>瞬殺された/escを押したスコアもIR登録する</source>
        <translation>Regist gave up score to IR</translation>
    </message>
    <message>
        <source>上下キーを速度変更に割り当てる</source>
        <translation>Assign up/down key to hs change</translation>
    </message>
    <message>
        <source>右クリックで曲を終了させない</source>
        <translation>Disable righ click exit</translation>
    </message>
    <message>
        <source>基本スクロールスピード</source>
        <translation>Base speed</translation>
    </message>
    <message>
        <source>レーンカバー変化間隔</source>
        <translation>Lane cover</translation>
    </message>
    <message>
        <source>最低連打時間(これ以下の連打は無効になります)</source>
        <translation>Minimum input interval</translation>
    </message>
    <message>
        <source>選曲リスト速度</source>
        <translation>Music list scroll speed</translation>
    </message>
    <message>
        <source>最初</source>
        <translation>First</translation>
    </message>
    <message>
        <source>以降</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>無効時のフォント</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>ミスBGA表示時間</source>
        <translation>Miss BGA</translation>
    </message>
    <message>
        <source>難度フィルタ(normal/hyper/another)を使用しない</source>
        <translation>Disable difficulty filter</translation>
    </message>
    <message>
        <source>選曲中プレビューを再生する</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>選曲バーにサブタイトルを表示しない</source>
        <translation>Remove subtitles from song bar</translation>
    </message>
    <message>
        <source>鍵盤数ALLを使用しない</source>
        <translation>Disable playmode &quot;ALL&quot;</translation>
    </message>
    <message>
        <source>鍵盤数SINGLE(5+7同時表示)を使用しない</source>
        <translation>Disable playmode &quot;SINGLE(5+7)&quot;</translation>
    </message>
    <message>
        <source>鍵盤数DOUBLE(10+14同時表示)を使用しない</source>
        <translation>Disable playmode &quot;DOUBLE(10+14)&quot;</translation>
    </message>
    <message>
        <source>DP譜面は無視する</source>
        <translation>Ignore 10/14keys</translation>
    </message>
    <message>
        <source>9ボタン譜面は無視する</source>
        <translation>Ignore 9keys</translation>
    </message>
    <message>
        <source>難度ALLを使用しない</source>
        <translation>Disable difficulty &quot;ALL&quot;</translation>
    </message>
    <message>
        <source>難度変更の挙動をbeta1のものに戻す</source>
        <translation>Beta1-style difficulty change</translation>
    </message>
    <message>
        <source>7鍵譜面が存在する場合5鍵譜面を無視する</source>
        <translation>Ignore 5keys if 7keys exist</translation>
    </message>
    <message>
        <source>これらのオプションはジュークボックスの構成によっては不具合を起こす可能性があります</source>
        <translation>Musicselect options</translation>
    </message>
    <message>
        <source>レベルバー最大値</source>
        <translation>Maximum level (levelbar)</translation>
    </message>
    <message>
        <source>FMOD Exを使用しない(どうしても発音遅延やノイズが気になるならチェックを入れてください)</source>
        <translation>Disable FMOD Ex soundsystem</translation>
    </message>
    <message>
        <source>16bitモードで起動する(フルスクリーンモードのみ)</source>
        <translation>16bit color (window mode only)</translation>
    </message>
    <message>
        <source>垂直同期(プレイ中ちらつくなら変えてみてください)</source>
        <translation>Wait for vsync</translation>
    </message>
    <message>
        <source>高精度なタイマーを使用する(基本的に外して下さい)</source>
        <translation>Use high performance timer (not recommended)</translation>
    </message>
</context>
<context>
    <name>ChartPlacement</name>
    <message>
        <source>%2 個中 %1 個の音が見つかりました</source>
        <translation>%1 of %2 sounds found</translation>
    </message>
</context>
<context>
    <name>ChosenPath</name>
    <message>
        <source>このパスは使用できません。文字 %1 はShift-JISで表せません。元の値のままです。
</source>
        <translation>This path cannot be used: its character %1 has no Shift-JIS form. The previous value is kept.
</translation>
    </message>
</context>
<context>
    <name>CommandConvert</name>
    <message>
        <source>oggデコーダーが設定されていません。</source>
        <translation>No ogg decoder is set.</translation>
    </message>
    <message>
        <source>oggエンコーダーが設定されていません。</source>
        <translation>No ogg encoder is set.</translation>
    </message>
</context>
<context>
    <name>CommandImport</name>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>報告</source>
        <translation>Report</translation>
    </message>
</context>
<context>
    <name>ConversionCommands</name>
    <message>
        <source>サブフォルダも含めたすべてのwavをoggに変換します。
変換元のwavは自動で削除されます。
よろしいですか？</source>
        <translation>Every wav here and in the sub-folders will be converted to ogg.
Each wav is deleted once converted.
Go ahead?</translation>
    </message>
    <message>
        <source>wavをoggに変換しています</source>
        <translation>Converting wav to ogg</translation>
    </message>
    <message>
        <source>サブフォルダも含めたすべてのoggをwavに変換します。
変換元のoggは自動で削除されます。
よろしいですか？</source>
        <translation>Every ogg here and in the sub-folders will be converted to wav.
Each ogg is deleted once converted.
Go ahead?</translation>
    </message>
    <message>
        <source>oggをwavに変換しています</source>
        <translation>Converting ogg to wav</translation>
    </message>
    <message>
        <source>サブフォルダも含めたすべてのbmpをpngに変換します。
変換元のbmpは自動で削除されます。
bmsに使われているかは問わず変換するので、同梱のhtml等に影響する場合があります。
よろしいですか？</source>
        <translation>Every bmp here and in the sub-folders will be converted to png.
Each bmp is deleted once converted.
All bmp files are converted, used by a chart or not, so pages that came with the song (html and so on) may be affected.
Go ahead?</translation>
    </message>
    <message>
        <source>bmpをpngに変換しています</source>
        <translation>Converting bmp to png</translation>
    </message>
    <message>
        <source>サブフォルダも含めたすべてのpngをbmpに変換します。
変換元のpngは自動で削除されます。
よろしいですか？</source>
        <translation>Every png here and in the sub-folders will be converted to bmp.
Each png is deleted once converted.
Go ahead?</translation>
    </message>
    <message>
        <source>pngをbmpに変換しています</source>
        <translation>Converting png to bmp</translation>
    </message>
    <message>
        <source>サブフォルダも含めたすべてのwavをoggに、bmpをpngに変換します。
変換元のwavとbmpは自動で削除されます。
よろしいですか？</source>
        <translation>Every wav here and in the sub-folders will be converted to ogg, and every bmp to png.
Each wav and bmp is deleted once converted.
Go ahead?</translation>
    </message>
    <message>
        <source>wavとbmpを変換しています</source>
        <translation>Converting wav and bmp</translation>
    </message>
    <message>
        <source>oggデコーダーが設定されていません。</source>
        <translation>No ogg decoder is set.</translation>
    </message>
    <message>
        <source>oggエンコーダーが設定されていません。</source>
        <translation>No ogg encoder is set.</translation>
    </message>
    <message>
        <source>報告</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>CourseImport</name>
    <message>
        <source>コースを追加できません。</source>
        <translation>Cannot add the courses.</translation>
    </message>
    <message>
        <source>コースリストの読み込みに失敗しました。</source>
        <translation>Could not read the course list.</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>DropInstall</name>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>差分をインストールします。よろしいですか？
%s</source>
        <translation>Install this additional chart?
%s</translation>
    </message>
    <message>
        <source>ファイルをコピーできませんでした。
</source>
        <translation>Could not copy the file.
</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>インストールに成功しました。元のファイルは削除しますか？</source>
        <translation>Installed. Delete the original file?</translation>
    </message>
    <message>
        <source>インストール先のフォルダをクリックして下さい。</source>
        <translation>Click the folder to install into first.</translation>
    </message>
    <message>
        <source>カスタムフォルダ内にインストールすることは出来ません。</source>
        <translation>Cannot install into a custom folder.</translation>
    </message>
    <message>
        <source>フルパス:%s
フォルダ名:%s
このフォルダにインストールしますがよろしいですか？</source>
        <translation>Full path: %s
Folder: %s
Install into this folder?</translation>
    </message>
    <message>
        <source>フルパス:%s
フォルダ名:%s
このフォルダにインストールしますがよろしいですか？
(同時にドロップしたファイルも同じフォルダにインストールされます。)</source>
        <translation>Full path: %s
Folder: %s
Install into this folder?
(The other files dropped with it go into the same folder.)</translation>
    </message>
    <message>
        <source>インストール中</source>
        <translation>Installing</translation>
    </message>
    <message>
        <source>インストールに成功しました。
元ファイルを削除しますか？</source>
        <translation>Installed.
Delete the original files?</translation>
    </message>
    <message>
        <source>曲フォルダを調べています</source>
        <translation>Looking through the song folders</translation>
    </message>
    <message>
        <source>この譜面は「%1」の音声を使っています (%2/%3)。このフォルダへコピーしますか？</source>
        <translation>This chart uses the sounds of &quot;%1&quot; (%2 of %3). Copy it there?</translation>
    </message>
    <message>
        <source>同じ譜面が %1 としてすでにあります。</source>
        <translation>The same chart is there already as %1.</translation>
    </message>
    <message>
        <source>同じ名前の別の譜面があるので、%1 として入れました。</source>
        <translation>Another chart has its name there, so it went in as %1.</translation>
    </message>
    <message>
        <source>書庫を調べています</source>
        <translation>Reading the archive</translation>
    </message>
    <message>
        <source>%1 → 「%2」 (%3/%4)</source>
        <translation>%1 → "%2" (%3 of %4)</translation>
    </message>
    <message>
        <source>%1 → 曲フォルダが決まらないので「%2」</source>
        <translation>%1 → "%2", as no song folder is certain</translation>
    </message>
    <message>
        <source>この書庫の譜面は差分です。それぞれを次のフォルダへコピーしますか？%1</source>
        <translation>The charts of this archive are additional charts. Copy each into the folder below?%1</translation>
    </message>
    <message>
        <source>%1 → %2</source>
        <translation>%1 → %2</translation>
    </message>
    <message>
        <source>（同じ譜面がすでにあります）</source>
        <translation> (the same chart is there already)</translation>
    </message>
</context>
<context>
    <name>Drops</name>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>ルートフォルダに加えます。よろしいですか？
(bmsが多い場合、追加作業に数分かかる場合があります。)</source>
        <translation>Add this as a song folder?
(With many charts this can take a few minutes.)</translation>
    </message>
    <message>
        <source>コースをデータベースに追加します。
よろしいですか?</source>
        <translation>Add the courses to the database?</translation>
    </message>
    <message>
        <source>報告</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>このファイル名はShift-JISで表せないため扱えません。
</source>
        <translation>This file name has no Shift-JIS form, so it cannot be used.
</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message numerus="yes">
        <source>%nコース追加しました
</source>
        <translation>
            <numerusform>%n course added
</numerusform>
            <numerusform>%n courses added
</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Extract</name>
    <message>
        <source>ファイルを書き込めません。この書庫から展開したファイルは削除しました。
</source>
        <translation>Cannot write a file. The files unpacked from this archive were deleted.
</translation>
    </message>
    <message>
        <source>展開先のフォルダを作れません。
</source>
        <translation>Cannot create the destination folder.
</translation>
    </message>
    <message>
        <source>空き容量が足りないため、展開できません。この書庫から展開したファイルは削除しました。
</source>
        <translation>Not enough free space to unpack. The files unpacked from this archive were deleted.
</translation>
    </message>
    <message>
        <source>書庫を読み込めません。壊れているか、対応していない形式です。
</source>
        <translation>Cannot read the archive. It is damaged or of an unsupported kind.
</translation>
    </message>
    <message>
        <source>暗号化された書庫は展開できません。</source>
        <translation>Encrypted archives cannot be unpacked.</translation>
    </message>
    <message>
        <source>書庫を開けません。
</source>
        <translation>Cannot open the archive.
</translation>
    </message>
    <message>
        <source>展開のコマンドが正しくありません。
</source>
        <translation>The unpack command is not valid.
</translation>
    </message>
    <message>
        <source>足りない容量: %1 (必要: %2、空き: %3)</source>
        <translation>Missing: %1 (needed: %2, free: %3)</translation>
    </message>
</context>
<context>
    <name>FolderTree</name>
    <message>
        <source>隠し譜面検索</source>
        <translation>Hidden chart search</translation>
    </message>
    <message>
        <source>隠し譜面を発見しました。必要に応じて拡張子を変更して下さい。</source>
        <translation>Hidden charts found. Change their extensions if you want to play them.</translation>
    </message>
    <message>
        <source>隠し譜面は見つかりませんでした。</source>
        <translation>No hidden charts found.</translation>
    </message>
    <message>
        <source>検索終了</source>
        <translation>Search finished</translation>
    </message>
    <message>
        <source>テキストエディタを起動できませんでした。</source>
        <translation>Could not start the text editor.</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>ライブラリを更新しています</source>
        <translation>Updating the library</translation>
    </message>
    <message>
        <source>ライブラリを更新できませんでした。
</source>
        <translation>Could not update the library.
</translation>
    </message>
    <message>
        <source>ルートフォルダとして登録されているフォルダ（またはそれを含むフォルダ）は削除できません。
先にライブラリから除外して下さい。</source>
        <translation>A registered song folder (or a folder holding one) cannot be deleted.
Remove it from the library first.</translation>
    </message>
    <message>
        <source>ライブラリから除外できませんでした。
</source>
        <translation>Could not remove it from the library.
</translation>
    </message>
    <message>
        <source>ルートフォルダは移動できません。</source>
        <translation>A song folder cannot be moved.</translation>
    </message>
    <message>
        <source>ルートフォルダを含むフォルダは移動できません。</source>
        <translation>A folder holding a song folder cannot be moved.</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>ファイルの移動に失敗しました。</source>
        <translation>Could not move the file.</translation>
    </message>
    <message>
        <source>ファイルを移動しました。</source>
        <translation>File moved.</translation>
    </message>
    <message>
        <source>利用するbmsエディターが設定されていないか、ファイルが見つかりません。
詳細設定ボタンから設定して下さい。</source>
        <translation>No BMS editor is set, or it cannot be found.
Set it with the Tool settings button.</translation>
    </message>
    <message>
        <source>リネームに失敗しました。</source>
        <translation>Could not rename.</translation>
    </message>
    <message>
        <source>新しいフォルダ名を入力して下さい。</source>
        <translation>Enter the new folder name.</translation>
    </message>
    <message>
        <source>新しいファイル名を入力して下さい。</source>
        <translation>Enter the new file name.</translation>
    </message>
    <message>
        <source>フォルダ名を入力して下さい。</source>
        <translation>Enter the folder name.</translation>
    </message>
    <message>
        <source>新しいフォルダ</source>
        <translation>New folder</translation>
    </message>
    <message>
        <source>フォルダの作成に失敗しました。</source>
        <translation>Could not create the folder.</translation>
    </message>
    <message>
        <source>ルートフォルダを含むフォルダの名前は変更できません。</source>
        <translation>A folder holding a song folder cannot be renamed.</translation>
    </message>
    <message>
        <source>カスタムフォルダの拡張子（.qv5folder）は変更できません。</source>
        <translation>A custom folder must keep its extension (.qv5folder).</translation>
    </message>
    <message>
        <source>拡張子が変更されています。
本当によろしいでしょうか？</source>
        <translation>The extension has changed.
Rename anyway?</translation>
    </message>
    <message>
        <source>エクスプローラで開く</source>
        <translation>Open in file manager</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>ルートフォルダ名の変更</source>
        <translation>Rename song folder</translation>
    </message>
    <message>
        <source>切り取り</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>貼り付け</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>ライブラリから除外</source>
        <translation>Remove from library</translation>
    </message>
    <message>
        <source>wav → ogg 変換</source>
        <translation>Convert wav → ogg</translation>
    </message>
    <message>
        <source>ogg → wav 変換</source>
        <translation>Convert ogg → wav</translation>
    </message>
    <message>
        <source>bmp → png 変換</source>
        <translation>Convert bmp → png</translation>
    </message>
    <message>
        <source>png → bmp 変換</source>
        <translation>Convert png → bmp</translation>
    </message>
    <message>
        <source>wav・bmp → ogg・png 変換</source>
        <translation>Convert wav, bmp → ogg, png</translation>
    </message>
    <message>
        <source>フォルダ名の変更</source>
        <translation>Rename folder</translation>
    </message>
    <message>
        <source>フォルダの削除</source>
        <translation>Delete folder</translation>
    </message>
    <message>
        <source>隠し譜面の検索</source>
        <translation>Search hidden charts</translation>
    </message>
    <message>
        <source>プレイ</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>オートプレイ</source>
        <translation>Autoplay</translation>
    </message>
    <message>
        <source>タグ編集</source>
        <translation>Edit tags</translation>
    </message>
    <message>
        <source>BMSエディタで編集</source>
        <translation>Edit in BMS editor</translation>
    </message>
    <message>
        <source>ランキングページ</source>
        <translation>Ranking page</translation>
    </message>
    <message>
        <source>メモ帳で開く</source>
        <translation>Open in text editor</translation>
    </message>
    <message>
        <source>譜面ファイル名の変更</source>
        <translation>Rename chart file</translation>
    </message>
    <message>
        <source>ファイルの削除</source>
        <translation>Delete file</translation>
    </message>
    <message>
        <source>動画作成（オートプレイ）</source>
        <translation>Make movie (autoplay)</translation>
    </message>
    <message>
        <source>動画作成（BGAのみ）</source>
        <translation>Make movie (BGA only)</translation>
    </message>
    <message>
        <source>動画作成（リプレイ）</source>
        <translation>Make movie (replay)</translation>
    </message>
    <message>
        <source>BGM作成（wav）</source>
        <translation>Make BGM (wav)</translation>
    </message>
    <message>
        <source>BGM作成（mp3）</source>
        <translation>Make BGM (mp3)</translation>
    </message>
    <message>
        <source>ファイル名の変更</source>
        <translation>Rename file</translation>
    </message>
    <message>
        <source>現在ツリー内ファイルドラッグ機能は利用できません。
右クリックメニューの切り取り・貼り付けを用いてください。</source>
        <translation>Dragging files within the tree is not available.
Use Cut and Paste from the right-click menu.</translation>
    </message>
    <message>
        <source>ファイルを移動してもよろしいですか？
移動元:%1
移動先:%2</source>
        <translation>Move the file?
From: %1
To: %2</translation>
    </message>
</context>
<context>
    <name>GameFolder</name>
    <message>
        <source>フォルダを作成できません。</source>
        <translation>Cannot create the folder.</translation>
    </message>
    <message>
        <source>%1 はShift-JISで表せない名前を含むため使えません。</source>
        <translation>%1 cannot be used: a name in it has no Shift-JIS form.</translation>
    </message>
    <message>
        <source>%1 にはQV5filesがすでにあります。何も変更していません。</source>
        <translation>%1 holds QV5files already; nothing was changed.</translation>
    </message>
    <message>
        <source>曲フォルダを登録できません。</source>
        <translation>Cannot register the song folder.</translation>
    </message>
    <message>
        <source>設定を保存できません。</source>
        <translation>Cannot save the settings.</translation>
    </message>
    <message>
        <source>%1 にはQV5filesフォルダがありません。</source>
        <translation>The folder %1 holds no QV5files folder.</translation>
    </message>
    <message>
        <source>ゲームフォルダは、ゲーム本体(QV5body.exe)とQV5filesフォルダ(設定、プレイヤー、曲ライブラリ)のあるフォルダです。

このフォルダを新しいゲームフォルダにしますか?
QV5filesとその中のフォルダ、曲を入れる空のsongsフォルダ(曲フォルダとして登録)を作ります。プレイヤーは最初の起動で作成します。ゲーム本体は含まれません。
「いいえ」で別のフォルダを選びます。</source>
        <translation>A game folder is the folder of the game body (QV5body.exe) that holds the QV5files folder (settings, players, song library).

Make this folder a new game folder?
This makes QV5files with its folders and an empty songs folder for your songs (registered as a song folder). The first player is made at the first start. The game body is not included.
No chooses another folder.</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>%1 にゲームフォルダを作成しました。
曲はsongsフォルダに入れて下さい。プレイするにはゲーム本体(QV5body.exe)をQV5filesと同じフォルダに置いて下さい。</source>
        <translation>Made a game folder in %1.
Put your songs into its songs folder. To play, put the game body (QV5body.exe) beside QV5files.</translation>
    </message>
    <message>
        <source>報告</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>ゲームフォルダ(QV5filesのあるフォルダ)を選んで下さい</source>
        <translation>Choose the game folder (the folder that holds QV5files)</translation>
    </message>
</context>
<context>
    <name>Install</name>
    <message>
        <source>同じフォルダへの別のインストールが終わるのを待っています。</source>
        <translation>Waiting for another install into the same folder to finish.</translation>
    </message>
    <message>
        <source>書庫を読み込めません。壊れているか、対応していない形式です。
</source>
        <translation>Cannot read the archive. It is damaged or of an unsupported kind.
</translation>
    </message>
    <message>
        <source>名前に「&quot;」を含むため、インストールできません。名前を変えてください。
%s</source>
        <translation>The name holds &quot;, so it cannot be installed. Rename it.
%s</translation>
    </message>
    <message>
        <source>書庫のフォルダ名が正しくないため、インストールしません。
%s</source>
        <translation>The archive&apos;s folder name is not valid, so it is not installed.
%s</translation>
    </message>
    <message>
        <source>曲をデータベースに登録できませんでした。展開したファイルは削除しました。</source>
        <translation>Could not register the songs in the database. The unpacked files were deleted.</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>譜面ファイルが見つかりません。</source>
        <translation>No chart file found.</translation>
    </message>
    <message>
        <source>インストールを中止しました。展開したファイルは削除しました。</source>
        <translation>Install stopped. The unpacked files were deleted.</translation>
    </message>
    <message>
        <source>報告</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>展開しなかった項目があります。</source>
        <translation>Some entries were not unpacked.</translation>
    </message>
    <message>
        <source>既にあるファイル(置き換えていません): </source>
        <translation>Files already there (not replaced): </translation>
    </message>
    <message>
        <source>展開先の外を指す名前: </source>
        <translation>Names pointing outside the destination: </translation>
    </message>
    <message>
        <source>リンク・特殊ファイル: </source>
        <translation>Links and special files: </translation>
    </message>
    <message>
        <source>Shift-JISで表せない名前: </source>
        <translation>Names without a Shift-JIS form: </translation>
    </message>
    <message>
        <source>長すぎる名前: </source>
        <translation>Names too long: </translation>
    </message>
    <message>
        <source>展開する大きさの上限(%1 KB)を超えるファイル: %2</source>
        <translation>Files over the size limit (%1 KB): %2</translation>
    </message>
    <message>
        <source>名前に「&quot;」を含むため、インストールできません。名前を変えてください。
</source>
        <translation>The name holds &quot;, so it cannot be installed. Rename it.
</translation>
    </message>
    <message>
        <source>作業用のフォルダを作れません。</source>
        <translation>Cannot make the working folder.</translation>
    </message>
    <message>
        <source>書庫に譜面がありません。</source>
        <translation>The archive holds no chart.</translation>
    </message>
    <message>
        <source>フォルダを作れません。</source>
        <translation>Cannot make the folder.</translation>
    </message>
    <message>
        <source>ファイルをコピーできません。</source>
        <translation>Cannot copy the file.</translation>
    </message>
</context>
<context>
    <name>InstallCommand</name>
    <message>
        <source>曲フォルダが決まりません。最も近いのは %1 で、%2</source>
        <translation>no certain song folder; the nearest is %1, %2</translation>
    </message>
    <message>
        <source>使うファイルを持つ曲フォルダがありません</source>
        <translation>no song folder holds the files it uses</translation>
    </message>
    <message>
        <source>%1 は入れませんでした: %2</source>
        <translation>%1 was not installed: %2</translation>
    </message>
    <message>
        <source>%1 を %2 にコピーできません</source>
        <translation>cannot copy %1 into %2</translation>
    </message>
    <message>
        <source>%1 -&gt; %2（%3）</source>
        <translation>%1 -&gt; %2 (%3)</translation>
    </message>
    <message>
        <source>%1: 同じ譜面が %2 としてすでにあるので、コピーしませんでした</source>
        <translation>%1: the same chart is already there as %2; nothing copied</translation>
    </message>
    <message>
        <source>%1: 同じ名前の別の譜面があるので、%2 として入れました</source>
        <translation>%1: another chart of that name is there; copied as %2</translation>
    </message>
    <message>
        <source>%1 を曲データベースに登録できません: %2</source>
        <translation>cannot register %1 in the song library: %2</translation>
    </message>
    <message>
        <source>曲フォルダが決まりません</source>
        <translation>no certain song folder</translation>
    </message>
</context>
<context>
    <name>JobSummary</name>
    <message>
        <source>%1の%2を%3秒で登録しました</source>
        <translation>%2 in %1 registered in %3 s</translation>
    </message>
    <message>
        <source>%1の%2を%3秒で再検索しました</source>
        <translation>%2 in %1 rescanned in %3 s</translation>
    </message>
    <message>
        <source>%1の%2を%3秒で更新しました</source>
        <translation>%2 in %1 refreshed in %3 s</translation>
    </message>
    <message>
        <source>%1(%2)を%3秒でインストールしました</source>
        <translation>%1 installed (%2) in %3 s</translation>
    </message>
    <message>
        <source>%1を変換、%2はそのまま(%3秒)</source>
        <translation>%1 converted, %2 kept, in %3 s</translation>
    </message>
    <message>
        <source>譜面</source>
        <translation>charts</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>files</translation>
    </message>
    <message numerus="yes">
        <source>%1譜面</source>
        <translation>
            <numerusform>%1 chart</numerusform>
            <numerusform>%1 charts</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1ファイル</source>
        <translation>
            <numerusform>%1 file</numerusform>
            <numerusform>%1 files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1フォルダ</source>
        <translation>
            <numerusform>%1 folder</numerusform>
            <numerusform>%1 folders</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>JukeboxPage</name>
    <message>
        <source>この機能は削除済みです。</source>
        <translation>This feature has been removed.</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>フォルダ追加</source>
        <translation>Add folder</translation>
    </message>
    <message>
        <source>全フォルダ再検索</source>
        <translation>Rescan all</translation>
    </message>
    <message>
        <source>詳細設定</source>
        <translation>Tool settings</translation>
    </message>
    <message>
        <source>右クリックでフォルダやファイルの操作ができます。</source>
        <translation>Right-click a folder or file for its commands.</translation>
    </message>
    <message>
        <source>フォルダをウィンドウにドロップしても登録できます。</source>
        <translation>You can also add a folder by dropping it on the window.</translation>
    </message>
    <message>
        <source>フォルダを登録しています</source>
        <translation>Registering the folder</translation>
    </message>
    <message>
        <source>登録を中止しました。ライブラリは元のままです。</source>
        <translation>Registration stopped. The library is unchanged.</translation>
    </message>
    <message>
        <source>フォルダを登録できませんでした。
</source>
        <translation>Could not register the folder.
</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>bmsが多い場合、追加作業に数分かかる場合があります。
よろしいですか？</source>
        <translation>With many charts this can take a few minutes.
Go ahead?</translation>
    </message>
    <message>
        <source>ルートフォルダに加えます。よろしいですか？
(bmsが多い場合、追加作業に数分かかる場合があります。)</source>
        <translation>Add this as a song folder?
(With many charts this can take a few minutes.)</translation>
    </message>
    <message>
        <source>全フォルダを再検索します。
しばらくコンフィグプログラムは応答不能になります。
よろしいですか？</source>
        <translation>Rescan all song folders?
The setup program will not respond for a while.</translation>
    </message>
    <message>
        <source>全フォルダを再検索しています</source>
        <translation>Rescanning all folders</translation>
    </message>
    <message>
        <source>再検索を中止しました。ライブラリは元のままです。</source>
        <translation>Rescan stopped. The library is unchanged.</translation>
    </message>
    <message>
        <source>再検索に失敗しました。ライブラリは元のままです。
</source>
        <translation>The rescan failed. The library is unchanged.
</translation>
    </message>
    <message>
        <source>終了しました</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>見つからないフォルダがありました:</source>
        <translation>Some folders were not found:</translation>
    </message>
    <message>
        <source>インストールするフォルダを選択して下さい</source>
        <translation>Choose the folder to install</translation>
    </message>
</context>
<context>
    <name>Launcher</name>
    <message>
        <source>サウンド ファイル (*.wav)</source>
        <translation>Sound files (*.wav)</translation>
    </message>
    <message>
        <source>サウンド ファイル (*.mp3)</source>
        <translation>Sound files (*.mp3)</translation>
    </message>
    <message>
        <source>動画ファイル (*.avi)</source>
        <translation>Movie files (*.avi)</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>パスに &quot; が含まれているため、ゲーム本体に渡せません（Windowsのコマンドラインでは渡せない文字です）。
名前を変えてから、もう一度実行して下さい。
</source>
        <translation>The path holds &quot;, which cannot be passed to the game (Windows command lines cannot carry it).
Rename it and try again.
</translation>
    </message>
    <message>
        <source>mp3エンコーダーが設定されていません。
詳細設定ボタンから設定して下さい。</source>
        <translation>No mp3 encoder is set.
Set it with the Tool settings button.</translation>
    </message>
</context>
<context>
    <name>LibraryCheck</name>
    <message>
        <source>重複した譜面</source>
        <translation>Duplicate charts</translation>
    </message>
    <message>
        <source>見つからないファイル</source>
        <translation>Missing files</translation>
    </message>
    <message>
        <source>読めない譜面・空の譜面</source>
        <translation>Unreadable or empty charts</translation>
    </message>
    <message>
        <source>ライブラリに入らない名前</source>
        <translation>Names the library cannot hold</translation>
    </message>
    <message>
        <source>ライブラリと食い違うもの</source>
        <translation>Out of date</translation>
    </message>
    <message>
        <source>%1（%2バイト）</source>
        <translation>%1 (%2 bytes)</translation>
    </message>
    <message>
        <source>同じ譜面が%1個（%2）: %3</source>
        <translation>%1 copies of one chart (%2): %3</translation>
    </message>
    <message>
        <source>%1: %2個のファイルがありません: %3</source>
        <translation>%1: %2 missing: %3</translation>
    </message>
    <message>
        <source>%1: ライブラリの行にハッシュがありません</source>
        <translation>%1: its library row has no hash</translation>
    </message>
    <message>
        <source>%1: ノーツがありません</source>
        <translation>%1: no notes</translation>
    </message>
    <message>
        <source>%1: 開けません</source>
        <translation>%1: cannot be opened</translation>
    </message>
    <message>
        <source>%1: 「%2」はShift-JISで表せません</source>
        <translation>%1: &quot;%2&quot; has no Shift-JIS form</translation>
    </message>
    <message>
        <source>%1: パスが長すぎます</source>
        <translation>%1: the path is too long</translation>
    </message>
    <message>
        <source>%1: ファイルがありません（ライブラリの行が残っています）</source>
        <translation>%1: the file is gone (its library row remains)</translation>
    </message>
    <message>
        <source>%1: フォルダがありません（ライブラリの行が残っています）</source>
        <translation>%1: the folder is gone (its library row remains)</translation>
    </message>
    <message>
        <source>%1: ライブラリに登録されていません</source>
        <translation>%1: not in the library</translation>
    </message>
    <message>
        <source>%1: 曲フォルダがありません</source>
        <translation>%1: the song folder does not exist</translation>
    </message>
    <message>
        <source>途中で止めました。ここまでに見つかったものです。</source>
        <translation>Stopped: these are the findings so far.</translation>
    </message>
    <message>
        <source>ライブラリの検査</source>
        <translation>Library check</translation>
    </message>
    <message>
        <source>フォルダツリーで表示</source>
        <translation>Show in the folder tree</translation>
    </message>
    <message>
        <source>フォルダを開く</source>
        <translation>Open the folder</translation>
    </message>
    <message>
        <source>このフォルダを更新</source>
        <translation>Refresh this folder</translation>
    </message>
    <message>
        <source>レポートを保存...</source>
        <translation>Save report...</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>問題は見つかりませんでした。</source>
        <translation>Nothing was found.</translation>
    </message>
    <message>
        <source>テキストファイル (*.txt)</source>
        <translation>Text files (*.txt)</translation>
    </message>
    <message>
        <source>レポートを保存できませんでした。</source>
        <translation>The report could not be saved.</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>ライブラリを検査しています</source>
        <translation>Checking the library</translation>
    </message>
    <message>
        <source>ライブラリを読めませんでした。</source>
        <translation>The library could not be read.</translation>
    </message>
    <message>
        <source>ライブラリの検査: %1、%2</source>
        <translation>Library check: %1, %2</translation>
    </message>
    <message>
        <source>%1: %2、%3</source>
        <translation>%1: %2, %3</translation>
    </message>
    <message>
        <source>済: %1</source>
        <translation>Done: %1</translation>
    </message>
    <message numerus="yes">
        <source>%1個のファイルがありません</source>
        <translation>
            <numerusform>%1 file missing</numerusform>
            <numerusform>%1 files missing</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: 64 MiBより大きく、譜面ではありません（読みません）</source>
        <translation>%1: larger than 64 MiB, so no chart (not read)</translation>
    </message>
</context>
<context>
    <name>LibraryCommands</name>
    <message>
        <source>このフォルダは既に登録されています。</source>
        <translation>This folder is already registered.</translation>
    </message>
    <message>
        <source>親フォルダが既に登録されています。</source>
        <translation>A parent folder is already registered.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>設定を保存できませんでした。
</source>
        <translation>The settings could not be saved.
</translation>
    </message>
    <message>
        <source>曲の検索を行うフォルダが登録されていません。
JUKEBOXタグにて、登録を行ってください。</source>
        <translation>Please register a folder.</translation>
    </message>
    <message>
        <source>

空きを作るなどしてから、もう一度「終了」を押すと保存し直します。保存せずに閉じるにはEscキーを押して下さい。</source>
        <translation>

Make room (or allow writing), then press Exit again to retry; press Escape to close without saving.</translation>
    </message>
</context>
<context>
    <name>NameDialog</name>
    <message>
        <source>この名前には使えない文字が含まれています。</source>
        <translation>This name holds characters that cannot be used.</translation>
    </message>
</context>
<context>
    <name>NativeTools</name>
    <message>
        <source>%1 が見つからないため、代わりに %2 を使用します。</source>
        <translation>%1 is not installed: using %2 instead.</translation>
    </message>
    <message>
        <source>ゲームフォルダに %1 がなく、PATH にも %1 / %2 が見つかりません。次のコマンドでインストールして下さい: %3</source>
        <translation>No %1 in the game folder and no %1 or %2 on PATH. Install it with: %3</translation>
    </message>
</context>
<context>
    <name>NewPlayerDialog</name>
    <message>
        <source>スコアデータのダウンロード</source>
        <translation>Downloading score data</translation>
    </message>
    <message>
        <source>スコアデータの読み込み</source>
        <translation>Reading score data</translation>
    </message>
</context>
<context>
    <name>PageTips</name>
    <message>
        <source>手動のみ(F8で現在選択中のフォルダの更新を行えます)</source>
        <translation>Only by hand: in the game, F8 updates the selected folder.</translation>
    </message>
    <message>
        <source>開いたフォルダに対して自動で行う (フォルダ読み込み時間が少し長くなります)</source>
        <translation>Each folder is updated when it is opened (opening a folder takes a little longer).</translation>
    </message>
    <message>
        <source>起動時に全フォルダに対して行う (起動時間が長くなります)</source>
        <translation>Every folder is updated when the game starts (the start takes longer).</translation>
    </message>
    <message>
        <source>システムログの出力(重くなります)</source>
        <translation>Writes a system log (the game runs slower).</translation>
    </message>
    <message>
        <source>フォルダランプ(曲が多いと非常に重くなります)</source>
        <translation>Shows clear lamps on folders (very slow with many songs).</translation>
    </message>
    <message>
        <source>最低連打時間(これ以下の連打は無効になります)</source>
        <translation>Presses closer together than this are ignored.</translation>
    </message>
    <message>
        <source>これらのオプションはジュークボックスの構成によっては不具合を起こす可能性があります</source>
        <translation>These options may misbehave, depending on how the song folders are organized.</translation>
    </message>
    <message>
        <source>FMOD Exを使用しない(どうしても発音遅延やノイズが気になるならチェックを入れてください)</source>
        <translation>Check this only if sound delay or noise really bothers you.</translation>
    </message>
    <message>
        <source>垂直同期(プレイ中ちらつくなら変えてみてください)</source>
        <translation>Change this if the screen flickers during play.</translation>
    </message>
</context>
<context>
    <name>PlayCommand</name>
    <message>
        <source>%1 は終了コード %2 で終了しました。</source>
        <translation>%1 exited with status %2.</translation>
    </message>
</context>
<context>
    <name>PlayerDb</name>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>プレイヤーデータを作成できません。</source>
        <translation>Cannot create the player data.</translation>
    </message>
    <message>
        <source>IDが短すぎます。(3文字以上)</source>
        <translation>The ID is too short (3 characters or more).</translation>
    </message>
    <message>
        <source>パスワードが短すぎます。(3文字以上)</source>
        <translation>The password is too short (3 characters or more).</translation>
    </message>
    <message>
        <source>IDには半角英数のみ使用可能です。</source>
        <translation>The ID may hold only letters and digits.</translation>
    </message>
    <message>
        <source>別のプレイヤー名を指定して下さい</source>
        <translation>Choose another player name.</translation>
    </message>
    <message>
        <source>新規データを作成しました。</source>
        <translation>New player data created.</translation>
    </message>
    <message>
        <source>報告</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>データベースを開けません</source>
        <translation>Cannot open the database.</translation>
    </message>
    <message>
        <source>データベースエラー</source>
        <translation>Database error</translation>
    </message>
</context>
<context>
    <name>Process</name>
    <message>
        <source>%1 が %2 にもPATHにも見つかりません。</source>
        <translation>%1 not found in %2 nor on PATH.</translation>
    </message>
    <message>
        <source>%1 が %2 に見つかりません。</source>
        <translation>%1 not found in %2.</translation>
    </message>
</context>
<context>
    <name>Ranking</name>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>データベースエラー</source>
        <translation>Database error</translation>
    </message>
    <message>
        <source>パスワードが違います</source>
        <translation>Wrong password.</translation>
    </message>
    <message>
        <source>QV5IR未登録です。
「QV5IRに参加する」にチェックを入れた状態で起動すると、
自動的に登録されます。</source>
        <translation>Not registered with QV5IR.
Start the game with &quot;QV5 InternetRanking&quot; checked
to register automatically.</translation>
    </message>
</context>
<context>
    <name>RootList</name>
    <message>
        <source>パスが長すぎるため、この操作はできません。
</source>
        <translation>The path is too long for this operation.
</translation>
    </message>
    <message>
        <source>このフォルダは既に登録されています。</source>
        <translation>This folder is already registered.</translation>
    </message>
    <message>
        <source>親フォルダが既に登録されています。</source>
        <translation>A parent folder is already registered.</translation>
    </message>
</context>
<context>
    <name>ScoreRestore</name>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>スコアリストの読み込みに失敗しました。</source>
        <translation>Could not read the score list.</translation>
    </message>
    <message>
        <source>サーバーに接続できません。</source>
        <translation>Cannot connect to the server.</translation>
    </message>
    <message>
        <source>パスワードが間違っているか、無効なQV5IDです。</source>
        <translation>Wrong password, or not a valid QV5 ID.</translation>
    </message>
    <message>
        <source>サーバーの応答が大きすぎます。</source>
        <translation>The server&apos;s answer is too large.</translation>
    </message>
    <message>
        <source>IDが短すぎます。(3文字以上)</source>
        <translation>The ID is too short (3 characters or more).</translation>
    </message>
    <message>
        <source>パスワードが短すぎます。(3文字以上)</source>
        <translation>The password is too short (3 characters or more).</translation>
    </message>
    <message>
        <source>IDには半角英数のみ使用可能です。</source>
        <translation>The ID may hold only letters and digits.</translation>
    </message>
    <message>
        <source>別のプレイヤー名を指定して下さい</source>
        <translation>Choose another player name.</translation>
    </message>
    <message>
        <source>データベースエラー</source>
        <translation>Database error</translation>
    </message>
    <message>
        <source>報告</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>無効なQV5IDです。</source>
        <translation>Not a valid QV5 ID.</translation>
    </message>
    <message>
        <source>スコアデータをダウンロードします。
環境により時間がかかる場合があります。</source>
        <translation>Downloading the score data.
This may take a while.</translation>
    </message>
    <message>
        <source>スコアデータを読み込みます。</source>
        <translation>Reading the score data.</translation>
    </message>
    <message numerus="yes">
        <source>%nスコアを引き継ぎました。</source>
        <translation>
            <numerusform>%n score carried over.</numerusform>
            <numerusform>%n scores carried over.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SignIn</name>
    <message>
        <source>最初にプレイヤーデータを作成します。
お好きなID(英数字のみ)とパスワードを設定して下さい。</source>
        <translation>First, create your player data.
Choose an ID (letters and digits only) and a password.</translation>
    </message>
    <message>
        <source>ようこそ</source>
        <translation>Welcome</translation>
    </message>
    <message>
        <source>NEW PLAYERボタンでプレイヤーデータを作成してください。</source>
        <translation>Create new player data.</translation>
    </message>
    <message>
        <source>パスワードを入力して下さい。</source>
        <translation>Input password.</translation>
    </message>
    <message>
        <source>パスワードが違います。</source>
        <translation>Password error.</translation>
    </message>
</context>
<context>
    <name>Tables</name>
    <message>
        <source>曲データベース（song.db）がないので、所持数はすべて 0 です。</source>
        <translation>There is no song library (song.db), so every held count is 0.</translation>
    </message>
    <message>
        <source>曲データベースを読めないので、所持数はすべて 0 です。</source>
        <translation>The song library cannot be read, so every held count is 0.</translation>
    </message>
    <message>
        <source>「%1」という表はありません。</source>
        <translation>There is no table &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>「%1」に当たる表が複数あります。名前で指定してください。</source>
        <translation>Several tables go by &quot;%1&quot;. Name the table by its name.</translation>
    </message>
    <message>
        <source>レベルのない %1 件は除きました。</source>
        <translation>%1 entries without a level were left out.</translation>
    </message>
    <message>
        <source>譜面でない %1 件は除きました。</source>
        <translation>%1 items that are no entries were left out.</translation>
    </message>
    <message>
        <source>正しい md5 のない %1 件は照合できません。</source>
        <translation>%1 entries without a valid md5 cannot be matched.</translation>
    </message>
    <message>
        <source>sha256 だけの %1 件は照合できません。</source>
        <translation>%1 entries with a sha256 only cannot be matched.</translation>
    </message>
    <message>
        <source>新しい表</source>
        <translation>new table</translation>
    </message>
    <message>
        <source>%1 件追加、%2 件削除、%3 件移動</source>
        <translation>%1 added, %2 removed, %3 moved</translation>
    </message>
    <message>
        <source>所持</source>
        <translation>held</translation>
    </message>
    <message>
        <source>sha256 のみ</source>
        <translation>sha256 only</translation>
    </message>
    <message>
        <source>照合不可</source>
        <translation>cannot be matched</translation>
    </message>
    <message>
        <source>未所持</source>
        <translation>missing</translation>
    </message>
    <message>
        <source>%1 レベル</source>
        <translation>%1 levels</translation>
    </message>
    <message>
        <source>この表にレベル「%1」はありません。</source>
        <translation>The table has no level &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>%1 / %2 の表を更新しました。</source>
        <translation>%1 / %2 tables updated.</translation>
    </message>
    <message>
        <source>表「%1」を削除しました。</source>
        <translation>Removed the table &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>%1 MiB を超えるファイルです。</source>
        <translation>the file is larger than %1 MiB.</translation>
    </message>
    <message>
        <source>ファイルを読めません。</source>
        <translation>the file cannot be read.</translation>
    </message>
    <message>
        <source>%1 MiB を超える応答です。</source>
        <translation>the answer is larger than %1 MiB.</translation>
    </message>
    <message>
        <source>中止しました。</source>
        <translation>stopped.</translation>
    </message>
    <message>
        <source>%1 のアドレスに制御文字があります。</source>
        <translation>the address of %1 holds control characters.</translation>
    </message>
    <message>
        <source>%1 のアドレスが正しくありません。</source>
        <translation>the address of %1 is not valid.</translation>
    </message>
    <message>
        <source>%1 が http でも https でもないアドレス（%2:）を指しています。</source>
        <translation>%1 names an address that is neither http nor https (%2:).</translation>
    </message>
    <message>
        <source>bmstable の meta がないページです。</source>
        <translation>the page has no bmstable meta.</translation>
    </message>
    <message>
        <source>表のアドレスでもファイルでもありません: %1</source>
        <translation>Neither a table&apos;s address nor a file: %1</translation>
    </message>
    <message>
        <source>http、https のアドレスかファイルではありません。</source>
        <translation>not an http or https address nor a file.</translation>
    </message>
    <message>
        <source>data_url がヘッダー自身を指しています。</source>
        <translation>data_url names the header itself.</translation>
    </message>
    <message>
        <source>譜面が一つもない表です。</source>
        <translation>the table has no entries.</translation>
    </message>
    <message>
        <source>値が多すぎます（%1 を超えるオブジェクトとリスト）。</source>
        <translation>too many values (more than %1 objects and lists).</translation>
    </message>
    <message>
        <source>JSON として読めません（%1 バイト目: %2）。</source>
        <translation>not valid JSON (at byte %1: %2).</translation>
    </message>
    <message>
        <source>ヘッダーが JSON のオブジェクトではありません。</source>
        <translation>the header is not a JSON object.</translation>
    </message>
    <message>
        <source>ヘッダーに表の名前（name）がありません。</source>
        <translation>the header gives no table name (name).</translation>
    </message>
    <message>
        <source>ヘッダーにデータのアドレス（data_url）がありません。</source>
        <translation>the header gives no data address (data_url).</translation>
    </message>
    <message>
        <source>データが譜面のリストではありません。</source>
        <translation>the data is not a list of entries.</translation>
    </message>
    <message>
        <source>header.json、data.json、state.json のどれかを読めません。</source>
        <translation>header.json, data.json or state.json cannot be read.</translation>
    </message>
    <message>
        <source>state.json が正しくありません。</source>
        <translation>state.json is not valid.</translation>
    </message>
    <message>
        <source>%1 にフォルダーを作れません</source>
        <translation>cannot make a folder in %1</translation>
    </message>
    <message>
        <source>「%1」という表は既にあります（update-tables で更新してください）。</source>
        <translation>A table &quot;%1&quot; is kept already (update it with update-tables).</translation>
    </message>
    <message>
        <source>表のフォルダーがなくなりました: %1</source>
        <translation>The table&apos;s folder is gone: %1</translation>
    </message>
    <message>
        <source>%1 を読めないので、レベルフォルダを曲データベースに登録できません。</source>
        <translation>%1 cannot be read, so the level folders cannot be registered in the song database.</translation>
    </message>
    <message>
        <source>%1 は登録された曲フォルダにないので、曲データベースは変えていません。</source>
        <translation>%1 lies in no registered song folder, so the song database was left as it was.</translation>
    </message>
    <message>
        <source>この譜面には差分のページがありません。</source>
        <translation>This chart has no additional chart page.</translation>
    </message>
    <message>
        <source>この譜面にはダウンロードページがありません。</source>
        <translation>This chart has no download page.</translation>
    </message>
    <message>
        <source>難易度表 (*.html;*.htm;*.json)|*.html;*.htm;*.json|すべてのファイル (*.*)|*.*||</source>
        <translation>Difficulty tables (*.html;*.htm;*.json)|*.html;*.htm;*.json|All files (*.*)|*.*||</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>難易度表を取得しています</source>
        <translation>Fetching the difficulty table</translation>
    </message>
    <message>
        <source>バイト</source>
        <translation>bytes</translation>
    </message>
    <message>
        <source>表を追加できませんでした。</source>
        <translation>The table could not be added.</translation>
    </message>
    <message>
        <source>表「%1」を追加しました: %2 レベル、%3 譜面中 %4 所持。</source>
        <translation>Added the table &quot;%1&quot;: %2 levels, %4 of %3 charts held.</translation>
    </message>
    <message>
        <source>難易度表を更新しています</source>
        <translation>Updating the difficulty tables</translation>
    </message>
    <message>
        <source>表「%1」を削除しますか？
ゲーム内のレベルフォルダも消えます。</source>
        <translation>Remove the table &quot;%1&quot;?
Its level folders in the game go too.</translation>
    </message>
    <message>
        <source>表を削除しています</source>
        <translation>Removing the table</translation>
    </message>
    <message>
        <source>表を削除できませんでした。</source>
        <translation>The table could not be removed.</translation>
    </message>
</context>
<context>
    <name>TablesWindow</name>
    <message>
        <source>未所持</source>
        <translation>Not held</translation>
    </message>
    <message>
        <source>未プレイ</source>
        <translation>Not played</translation>
    </message>
</context>
<context>
    <name>TagEditorDialog</name>
    <message>
        <source>☆ LEVEL</source>
        <translation>☆ LEVEL</translation>
    </message>
    <message>
        <source>★ LEVEL</source>
        <translation>★ LEVEL</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>フォルダがライブラリに登録されていません。
</source>
        <translation>The folder is not in the library.
</translation>
    </message>
    <message>
        <source>譜面ファイルを読み込めませんでした。
</source>
        <translation>Could not read the chart file.
</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>タグを保存できませんでした。
</source>
        <translation>Could not save the tags.
</translation>
    </message>
</context>
<context>
    <name>ToolSettingsDialog</name>
    <message>
        <source>実行ファイル(*.exe)|*.exe|All Files(*.*)|*.*||</source>
        <translation>Programs (*.exe)|*.exe|All Files(*.*)|*.*||</translation>
    </message>
    <message>
        <source>mp3エンコーダーの選択 (lame.exe推奨)</source>
        <translation>Choose the mp3 encoder (lame.exe recommended)</translation>
    </message>
    <message>
        <source>oggエンコーダーの選択 (oggenc2.exe推奨)</source>
        <translation>Choose the ogg encoder (oggenc2.exe recommended)</translation>
    </message>
    <message>
        <source>BMSエディター選択 (BMSE.exe推奨)</source>
        <translation>Choose the BMS editor (BMSE.exe recommended)</translation>
    </message>
    <message>
        <source>BMSエディター選択 (oggdec.exe推奨)</source>
        <translation>Choose the ogg decoder (oggdec.exe recommended)</translation>
    </message>
    <message>
        <source>詳細設定</source>
        <translation>Tool settings</translation>
    </message>
    <message>
        <source>動画・mp3作成</source>
        <translation>Movies and mp3</translation>
    </message>
    <message>
        <source>wav (動画と別に保存)</source>
        <translation>wav (saved beside the movie)</translation>
    </message>
    <message>
        <source>動画圧縮の設定</source>
        <translation>Movie compression</translation>
    </message>
    <message>
        <source>oggエンコード</source>
        <translation>ogg encoding</translation>
    </message>
    <message>
        <source>oggデコード</source>
        <translation>ogg decoding</translation>
    </message>
    <message>
        <source>BMSデータ</source>
        <translation>BMS data</translation>
    </message>
    <message>
        <source>インストール時にwavをoggに自動変換する</source>
        <translation>Convert wav to ogg when installing</translation>
    </message>
    <message>
        <source>インストール時にbmpをpngに自動変換する</source>
        <translation>Convert bmp to png when installing</translation>
    </message>
    <message>
        <source>インストール時に隠し譜面を自動検索する</source>
        <translation>Search hidden charts when installing</translation>
    </message>
    <message>
        <source>bmsエディタでファイルを編集すると、以前のスコアデータは使用できなくなり、IRにも別の曲として登録されてしまいます。
タイトル等の情報を変更したい場合は、bmsを直接編集せず、タグエディタを利用して下さい。</source>
        <translation>Once a chart is edited in a BMS editor, its old scores no longer apply and the ranking treats it as another song.
To change the title or similar, use the tag editor instead of editing the chart.</translation>
    </message>
    <message>
        <source>bms編集の際の注意</source>
        <translation>Before editing a chart</translation>
    </message>
</context>
<context>
    <name>Trash</name>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>ごみ箱に移動できませんでした。何も削除していません。
</source>
        <translation>Could not move it to the trash. Nothing was deleted.
</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>「%1」をごみ箱に移動しますか？</source>
        <translation>Move &quot;%1&quot; to the trash?</translation>
    </message>
</context>
<context>
    <name>WaitNote</name>
    <message>
        <source>%1 の終了を待っています…</source>
        <translation>Waiting for %1 to exit…</translation>
    </message>
</context>
<context>
    <name>Wallpaper</name>
    <message>
        <source>画像を壁紙フォルダに追加します。(サイズと形式は自動で変換されます。)
よろしいですか?</source>
        <translation>Add the picture to the wallpaper folder? (Its size and format are converted.)</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>画像の読み込みに失敗しました。</source>
        <translation>Could not read the picture.</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>壁紙を保存できませんでした。</source>
        <translation>Could not save the wallpaper.</translation>
    </message>
    <message>
        <source>壁紙を追加しました。壁紙変更はマニュアルを参考にして下さい。</source>
        <translation>Wallpaper added. See the manual for how to change the wallpaper.</translation>
    </message>
</context>
<context>
    <name>qv5::MainWindow</name>
    <message>
        <source>ライブラリ</source>
        <translation>Library</translation>
    </message>
    <message>
        <source>曲リスト...</source>
        <translation>Song list...</translation>
    </message>
    <message>
        <source>ライブラリの検査...</source>
        <translation>Check library...</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>QV5 SETUPについて</source>
        <translation>About QV5 SETUP</translation>
    </message>
    <message>
        <source>難易度表...</source>
        <translation>Difficulty tables...</translation>
    </message>
</context>
<context>
    <name>qv5::SongListModel</name>
    <message>
        <source>タイトル</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>アーティスト</source>
        <translation>Artist</translation>
    </message>
    <message>
        <source>ジャンル</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>☆</source>
        <translation>☆</translation>
    </message>
    <message>
        <source>★</source>
        <translation>★</translation>
    </message>
    <message>
        <source>難易度</source>
        <translation>Difficulty</translation>
    </message>
    <message>
        <source>モード</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>BPM</source>
        <translation>BPM</translation>
    </message>
    <message>
        <source>ノーツ</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>追加日時</source>
        <translation>Added</translation>
    </message>
    <message>
        <source>パス</source>
        <translation>Path</translation>
    </message>
    <message>
        <source>ランプ</source>
        <translation>Lamp</translation>
    </message>
    <message>
        <source>スコア</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>表</source>
        <translation>Tables</translation>
    </message>
</context>
<context>
    <name>qv5::SongListWindow</name>
    <message>
        <source>曲リスト</source>
        <translation>Song list</translation>
    </message>
    <message>
        <source>検索:</source>
        <translation>Search:</translation>
    </message>
    <message>
        <source>タイトル・アーティスト・ジャンル・パスの語</source>
        <translation>Words of the title, artist, genre or path</translation>
    </message>
    <message>
        <source>モード:</source>
        <translation>Mode:</translation>
    </message>
    <message>
        <source>レベル:</source>
        <translation>Level:</translation>
    </message>
    <message>
        <source>難易度:</source>
        <translation>Difficulty:</translation>
    </message>
    <message>
        <source>すべて</source>
        <translation>All</translation>
    </message>
    <message>
        <source>お気に入り</source>
        <translation>Favourites</translation>
    </message>
    <message>
        <source>未プレイ</source>
        <translation>Not played</translation>
    </message>
    <message>
        <source>未クリア</source>
        <translation>Not cleared</translation>
    </message>
    <message>
        <source>新曲</source>
        <translation>New</translation>
    </message>
    <message>
        <source>プレイ</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>オートプレイ</source>
        <translation>Autoplay</translation>
    </message>
    <message>
        <source>タグ編集</source>
        <translation>Edit tags</translation>
    </message>
    <message>
        <source>フォルダを開く</source>
        <translation>Open folder</translation>
    </message>
    <message>
        <source>フォルダツリーで表示</source>
        <translation>Show in the folder tree</translation>
    </message>
    <message numerus="yes">
        <source>%1 / %n 譜面</source>
        <translation>
            <numerusform>%1 / %n chart</numerusform>
            <numerusform>%1 / %n charts</numerusform>
        </translation>
    </message>
    <message>
        <source>表:</source>
        <translation>Table:</translation>
    </message>
</context>
<context>
    <name>qv5::TablesWindow</name>
    <message>
        <source>難易度表</source>
        <translation>Difficulty tables</translation>
    </message>
    <message>
        <source>追加...</source>
        <translation>Add...</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>すべて更新</source>
        <translation>Update all</translation>
    </message>
    <message>
        <source>削除...</source>
        <translation>Remove...</translation>
    </message>
    <message>
        <source>レベル</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>所持</source>
        <translation>Held</translation>
    </message>
    <message>
        <source>クリアランプ</source>
        <translation>Clear lamps</translation>
    </message>
    <message>
        <source>ランプ</source>
        <translation>Lamp</translation>
    </message>
    <message>
        <source>タイトル</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>アーティスト</source>
        <translation>Artist</translation>
    </message>
    <message>
        <source>レート</source>
        <translation>Rate</translation>
    </message>
    <message>
        <source>場所 / コメント</source>
        <translation>Place / comment</translation>
    </message>
    <message>
        <source>すべて</source>
        <translation>All</translation>
    </message>
    <message>
        <source>未所持のみ</source>
        <translation>Missing only</translation>
    </message>
    <message>
        <source>未クリア</source>
        <translation>Not cleared</translation>
    </message>
    <message>
        <source>検索:</source>
        <translation>Search:</translation>
    </message>
    <message>
        <source>譜面</source>
        <translation>Charts</translation>
    </message>
    <message>
        <source>前回の更新</source>
        <translation>Last update</translation>
    </message>
    <message>
        <source>プレイ</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>フォルダツリーで表示</source>
        <translation>Show in the folder tree</translation>
    </message>
    <message>
        <source>ダウンロードページを開く</source>
        <translation>Open the download page</translation>
    </message>
    <message>
        <source>差分のページを開く</source>
        <translation>Open the additional chart&apos;s page</translation>
    </message>
    <message>
        <source>表がありません。「追加...」で難易度表の URL かファイルを指定してください。</source>
        <translation>No tables yet. Choose &quot;Add...&quot; and give a difficulty table&apos;s address or file.</translation>
    </message>
    <message>
        <source>%1 譜面中 %2 所持 · %3 レベル · 更新 %4 · %5</source>
        <translation>%2 of %1 charts held · %3 levels · updated %4 · %5</translation>
    </message>
    <message>
        <source>%1 に更新: %2</source>
        <translation>Updated %1: %2</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Added</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Removed</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Moved</translation>
    </message>
    <message>
        <source>照合不可 (sha256)</source>
        <translation>Cannot be matched (sha256)</translation>
    </message>
    <message>
        <source>照合不可</source>
        <translation>Cannot be matched</translation>
    </message>
    <message>
        <source>難易度表の追加</source>
        <translation>Add a difficulty table</translation>
    </message>
    <message>
        <source>難易度表のページ、header.json の URL、または保存したファイル:</source>
        <translation>The table&apos;s page, the address of its header.json, or a saved file:</translation>
    </message>
    <message>
        <source>ファイル...</source>
        <translation>File...</translation>
    </message>
    <message>
        <source>曲フォルダあり: %1</source>
        <translation>song folder found: %1</translation>
    </message>
</context>
</TS>
