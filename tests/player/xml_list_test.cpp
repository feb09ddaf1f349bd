// A list read a block at a time against the same list parsed whole.
#include "player/xml_list.h"

#include <gtest/gtest.h>

#include <random>

#include "support/temp_game.h"

namespace qv5 {
namespace {

const char* kFile = "list.xml";

// What a reading gives: whether it accepted the file and, then, each entry
// printed back with its hash as stored and the encoding.
struct Reading {
    bool ok = false;
    std::vector<std::string> entries;
    bool operator==(const Reading&) const = default;
};

std::string Describe(const XmlEntry& e) {
    tinyxml2::XMLPrinter printer(nullptr, true);
    e.element->Accept(&printer);
    return std::string(printer.CStr()) + " hash=" + EntryTextUtf8(e, "hash") +
           " pg=" + std::to_string(EntryNumber(e.element, "pg")) + (e.utf8 ? " utf8" : " sjis");
}

Reading Whole() {
    Reading r;
    XmlList list;
    r.ok = LoadXmlList(kFile, "scorelist", "score", list);
    if (r.ok)
        for (const auto* e = list.first; e; e = e->NextSiblingElement())
            r.entries.push_back(Describe({e, list.utf8}));
    return r;
}

Reading Streamed(size_t block) {
    Reading r;
    const ListRead end = ReadXmlList(
        kFile, "scorelist", "score",
        [&r](const XmlEntry& e) {
            r.entries.push_back(Describe(e));
            return true;
        },
        block);
    EXPECT_NE(end, ListRead::Stopped);
    r.ok = end == ListRead::Done;
    if (!r.ok) r.entries.clear();  // what came before the fault is not the list
    return r;
}

std::string Show(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes)
        out += c >= 32 && c < 127 ? std::string(1, char(c)) : "\\x" + std::to_string(c);
    return out;
}

class XmlListTest : public ::testing::Test {
  protected:
    // The file read whole and read in blocks of each size agree.
    void ExpectSame(const std::string& bytes, std::initializer_list<size_t> blocks) {
        game.WriteFile(kFile, bytes);
        const Reading whole = Whole();
        for (size_t block : blocks) {
            const Reading streamed = Streamed(block);
            EXPECT_EQ(streamed.ok, whole.ok) << "block " << block << ": " << Show(bytes);
            EXPECT_EQ(streamed.entries, whole.entries) << "block " << block << ": " << Show(bytes);
            if (streamed != whole) {
                ++mismatches;
                return;
            }
        }
        accepted += whole.ok;
    }
    void ExpectSame(const std::string& bytes) {
        ExpectSame(bytes, {1, 2, 3, 5, 64, kXmlListBlock});
    }
    test::TempGame game;
    int mismatches = 0, accepted = 0;
};

const std::string kBase =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<!-- scores -->\n"
    "<!DOCTYPE scorelist>\n<scorelist at=\"a > b\" other='<'>\n"
    "<info>not a score</info> text between\n"
    "<score><hash> a&amp;b&#x41;&#66;&bogus; </hash><pg>12</pg><ghost><![CDATA[<g>]]></ghost>"
    "</score>\n"
    "<score kind=\"x\"><!-- </score> "
    "--><hash>\x82\xA0</hash><pg>3x</pg><deep><er/></deep></score>\n"
    "<score/>\n<other><hash>o</hash></other >\n"
    "</scorelist>\n<!-- end -->\n";

TEST_F(XmlListTest, EdgesReadAsTheWholeFile) {
    const std::string cases[] = {
        "<scorelist><score><hash>a</hash></score></scorelist>",
        "",
        "   \n",
        "\xEF\xBB\xBF",
        "\xEF\xBB\xBF<scorelist><score><hash>\xE3\x81\x82</hash></score></scorelist>",
        "  \xEF\xBB\xBF<scorelist><score/></scorelist>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><scorelist><score/></scorelist>",
        "<?xml version='1.0' ENCODING='utf8'?><scorelist><score/></scorelist>",
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?><scorelist><score/></scorelist>",
        " <?xml version=\"1.0\" encoding=\"UTF-8\"?><scorelist><score/></scorelist>",
        "<?xml version=\"1.0\"?><?xml again?><scorelist><score/></scorelist>",
        "<?xml version=\"1.0\"?><!--c--><?xml x?><scorelist><score/></scorelist>",
        "<scorelist><?xml x?><score/></scorelist>",
        "<scorelist><score><?pi?></score></scorelist>",
        "<?xml encoding=\"utf-8\"",
        "<scorelist><score><hash>a</ha",
        "<scorelist><score><hash>a</hash></score>",
        "<scorelist><score/>",
        "<scorelist><score>",
        "<scorelist><score><",
        "<scorelist><score/></scorelist>   \n ",
        "<scorelist><score/></scorelist>junk",
        "<scorelist><score/></scorelist></stray> junk <<",
        "</stray><scorelist><score/></scorelist>",
        std::string("<scorelist><score/></scorelist>\0junk<", 38),
        std::string("<scorelist><score>a\0</score></scorelist>", 41),
        std::string("\0<scorelist><score/></scorelist>", 32),
        "<scorelist a=\"1\" a=\"2\"><score/></scorelist>",
        "<scorelist><score a=\"1\" a='1'/></scorelist>",
        "<scorelist><score a='>' b=\"<\"/></scorelist>",
        "<scorelist><score a=1/></scorelist>",
        "<scorelist><score a = \"1\" /></scorelist>",
        "<scorelist><score a/></scorelist>",
        "<scorelist><score a=\"1/></scorelist>",
        "< scorelist ><score></ score></scorelist>",
        "< scorelist ><score>< /score></scorelist>",
        "<scorelist><score></score a=\"1\"></scorelist>",
        "<scorelist><score></score/></scorelist>",
        "<scorelist></score/><score/></scorelist>",
        "</scorelist/><scorelist><score/></scorelist>",
        "<scorelist><score></scorex></scorelist>",
        "<scorelist><score></score></scorelistx>",
        "<scorelist><x/><score/><y>z</y>t<!--c--><w/></scorelist>",
        "<a><score/></a><scorelist><score/></scorelist>",
        "<a><scorelist><score/></scorelist></a>",
        "<scorelist/><scorelist><score/></scorelist>",
        "<scorelist><info/></scorelist><scorelist><score/></scorelist>",
        "<scorelist><score/></scorelist><scorelist><bad></scorelist>",
        "<!DOCTYPE scorelist [<!ENTITY a \"b\">]><scorelist><score/></scorelist>",
        "<!DOCTYPE x><scorelist><score/></scorelist>",
        "<!DOCTYPE x",
        "<scorelist><score><![CDATA[<x></score>]]></score></scorelist>",
        "<scorelist><score><![CDATA[<x></score></scorelist>",
        "<scorelist><score><!-- </score> --></score></scorelist>",
        "<scorelist><score><!-- </score> </score></scorelist>",
        "<scorelist><score><!--></score></scorelist>-->",
        "<scorelist><score><hash>&amp;&#x41;&#65;&unknown;&</hash></score></scorelist>",
        "<scorelist>text<score/>more</scorelist>",
        "text<scorelist><score/></scorelist>",
        "<scorelist><score/></scorelist><!-- trailing",
        "<scorelist><1a/><score/></scorelist>",
        "<scorelist><score><-a/></score></scorelist>",
        "<scorelist><score><a.b-c:d_e/></score></scorelist>",
        "<scorelist><\x83X\x83R\x83"
        "A/><score/></scorelist>",
        "<scorelist>\r\n\t<score>\r\n<hash>\r\n h \r\n</hash></score>\r\n</scorelist>",
        "<scorelist><score><hash/><hash>b</hash></score></scorelist>",
        "<scorelist><score><hash><!--c-->b</hash></score></scorelist>",
        "<scorelist><score></score><score></score></scorelist>",
        "<scorelist><scores/><score/></scorelist>",
        "<scorelist><score/></scorelist></scorelist>",
        "<scorelist><score/><score></scorelist>",
        "<scorelist><score/></scorelist><?xml late?>",
        "<scorelist><score/></scorelist><![CDATA[x]]>",
        kBase,
    };
    for (const std::string& c : cases) ExpectSame(c);
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(accepted, 20);  // both kinds are among them
}

// tinyxml2 refuses elements nested too deep; an entry is read on its own,
// but the depth it stands at in the file still counts.
TEST_F(XmlListTest, NestingAsDeepAsTheWholeFileAllows) {
    for (int levels = 94; levels <= 100; ++levels) {
        for (bool at_top : {false, true}) {
            std::string open, close;
            for (int i = 0; i < levels; ++i) {
                open += "<d>";
                close += "</d>";
            }
            ExpectSame(at_top ? open + "<scorelist><score/></scorelist>" + close
                              : "<scorelist><score>" + open + close + "</score></scorelist>",
                       {1, 7, kXmlListBlock});
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, 14);
}

TEST_F(XmlListTest, CutAnywhere) {
    for (size_t size = 0; size <= kBase.size(); ++size) ExpectSame(kBase.substr(0, size), {1, 64});
    EXPECT_EQ(mismatches, 0);
    EXPECT_GE(accepted, 2);  // the whole list, and without its last line break
}

// Lists with a few bytes changed, added or taken away, among them the ones
// that give markup its meaning.
TEST_F(XmlListTest, DamagedListsReadAsTheWholeFile) {
    std::mt19937 random(20261210);
    const std::string alphabet =
        std::string("<>/!?-[]\"'= \n&;#xCDATAscore") + '\0' + "\xEF\xBB\xBF";
    for (int round = 0; round < 1000; ++round) {
        std::string bytes = kBase;
        const int edits = 1 + int(random() % 3);
        for (int i = 0; i < edits; ++i) {
            const size_t at = random() % (bytes.size() + 1);
            const char c = alphabet[random() % alphabet.size()];
            switch (random() % 3) {
                case 0:
                    bytes.insert(at, 1, c);
                    break;
                case 1:
                    if (at < bytes.size()) bytes.erase(at, 1 + random() % 4);
                    break;
                default:
                    if (at < bytes.size()) bytes[at] = c;
            }
        }
        ExpectSame(bytes, {1, 7, kXmlListBlock});
        if (mismatches > 5) break;
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(accepted, 100);
}

TEST_F(XmlListTest, EachEntryCanStopTheReading) {
    game.WriteFile(kFile, "<scorelist><score/><score/><score/></scorelist>");
    int given = 0;
    EXPECT_EQ(
        ReadXmlList(kFile, "scorelist", "score", [&given](const XmlEntry&) { return ++given < 2; }),
        ListRead::Stopped);
    EXPECT_EQ(given, 2);
    EXPECT_EQ(
        ReadXmlList("missing.xml", "scorelist", "score", [](const XmlEntry&) { return true; }),
        ListRead::Unreadable);
}

}  // namespace
}  // namespace qv5
