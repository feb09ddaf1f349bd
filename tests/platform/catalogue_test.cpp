// The English catalogue against the code: every source text translated,
// with the same %-arguments, and the quick program's own table the same.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cli/command_language.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/translation.h"
#include "support/both_languages.h"
#include "support/shell.h"

namespace qv5 {
namespace {

struct Message {
    QString context, source;
    QString type;  // "", "unfinished", "vanished", "obsolete"
    QStringList forms;
};

std::vector<Message> ReadCatalogue(const std::string& path) {
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    QXmlStreamReader xml(&file);
    std::vector<Message> out;
    QString context;
    bool in_translation = false;
    while (!xml.atEnd()) {
        xml.readNext();
        const auto name = xml.name();
        if (xml.isEndElement() && name == QLatin1String("translation")) {
            in_translation = false;
            if (out.back().forms.isEmpty()) out.back().forms << QString();
        }
        if (in_translation && xml.isCharacters() && !xml.isWhitespace()) {
            if (out.back().forms.isEmpty()) out.back().forms << QString();
            out.back().forms.back() += xml.text();
        }
        if (!xml.isStartElement()) continue;
        if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            out.push_back({context, {}, {}, {}});
        } else if (name == QLatin1String("source")) {
            out.back().source = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            out.back().type = xml.attributes().value(QLatin1String("type")).toString();
            in_translation = true;
        } else if (name == QLatin1String("numerusform")) {
            out.back().forms << xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return out;
}

// The printf arguments in order, and the numbered ones (%1, %n) as a sorted
// list, since a translation may place those anywhere.
std::pair<QStringList, QStringList> Arguments(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("%([sd]|[1-9n])"));
    QStringList ordered, placed;
    for (auto it = pattern.globalMatch(text); it.hasNext();) {
        const QString a = it.next().captured(0);
        (a == QLatin1String("%s") || a == QLatin1String("%d") ? ordered : placed) << a;
    }
    placed.sort();
    return {ordered, placed};
}

std::string CatalogueFile() {
    return std::string(QV5_SOURCE_DIR) + "/translations/qv5_en.ts";
}

// lupdate runs over the sources into a copy of the catalogue, keeping what
// the code no longer has: every message must be finished, none new, none
// vanished, and each form must carry the source's arguments.
TEST(Catalogue, EverySourceTextHasAFinishedTranslationWithTheSameArguments) {
    const std::string copy = std::filesystem::temp_directory_path() / "qv5_en_check.ts";
    std::filesystem::copy_file(CatalogueFile(), copy,
                               std::filesystem::copy_options::overwrite_existing);
    const test::ShellResult run = test::RunShell(
        std::string("'") + QV5_LUPDATE + "' -silent -locations none -tr-function-alias " +
        "translate+=Tr,translate+=QTr '" + QV5_SOURCE_DIR + "/src' -ts '" + copy + "' 2>&1");
    ASSERT_EQ(run.code, 0) << run.out;
    const std::vector<Message> messages = ReadCatalogue(copy);
    std::filesystem::remove(copy);
    EXPECT_GT(messages.size(), 200u);
    for (const Message& m : messages) {
        const std::string where = m.context.toStdString() + ": " + m.source.toStdString();
        EXPECT_TRUE(m.type.isEmpty()) << m.type.toStdString() << " " << where;
        for (const QString& form : m.forms) {
            EXPECT_FALSE(form.isEmpty()) << where;
            EXPECT_EQ(Arguments(form), Arguments(m.source))
                << where << " -> " << form.toStdString();
        }
    }
}

// The quick program's table, made from the catalogue at build time, holds
// every finished message with its English (both forms of a counted text).
TEST(Catalogue, TheQuickProgramsTableIsTheCataloguesEnglish) {
    std::map<std::pair<std::string, std::string>, QStringList> english;
    for (const Message& m : ReadCatalogue(CatalogueFile()))
        english[{m.context.toStdString(), m.source.toStdString()}] = m.forms;
    EXPECT_EQ(kEnglishTableSize, english.size());
    for (size_t i = 0; i < kEnglishTableSize; ++i) {
        const CatalogueEntry& e = kEnglishTable[i];
        const auto it = english.find({e.context, e.japanese});
        ASSERT_NE(it, english.end()) << e.japanese;
        EXPECT_EQ(it->second.first().toStdString(), e.english);
        EXPECT_EQ(it->second.last().toStdString(), e.english_plural);
    }
    // Looked up as the quick program does.
    UseQuickLanguage(1);
    EXPECT_EQ(Tr("LibraryCommands", "このフォルダは既に登録されています。"),
              "This folder is already registered.");
    EXPECT_EQ(Tr("Drops", "%nコース追加しました\n", nullptr, 2), "2 courses added\n");
    UseQuickLanguage(0);
    EXPECT_EQ(Cp932ToUtf8(Tr("Drops", "%nコース追加しました\n", nullptr, 1)),
              "1コース追加しました\n");
}

// Tr: the Japanese source untouched without the catalogue, the English with
// it; the plural form by the count; numbered arguments where the text puts them.
TEST(Catalogue, TrGivesTheSourceOrItsEnglish) {
    test::ExpectInBothLanguages([](const test::AddText& add) {
        add(Tr("JukeboxPage", "終了しました"), "Done", "終了しました");
        add(Tr("Drops", "%nコース追加しました\n", nullptr, 1), "1 course added\n",
            "1コース追加しました\n");
        add(Tr("Drops", "%nコース追加しました\n", nullptr, 3), "3 courses added\n",
            "3コース追加しました\n");
        add(Arg(Tr("JobSummary", "%1の%2を%3秒で登録しました"), {"A", "B", "C"}),
            "B in A registered in C s", "AのBをC秒で登録しました");
        add(Tr("NoSuchContext", "未訳"), "未訳", "未訳");
    });
}

}  // namespace
}  // namespace qv5
