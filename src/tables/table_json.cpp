// The header and data files of a table, read with Qt's JSON parser. What a
// table file may be that a plain parse would refuse or misread is taken
// first: the byte-order mark, bytes that are no UTF-8 (made U+FFFD, so that
// one bad title does not cost the whole table), and a file so large in
// values that its document would not fit in memory.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QVariant>
#include <charconv>
#include <cmath>

#include "platform/tr.h"
#include "tables/table.h"

namespace qv5 {
namespace {

std::string_view WithoutBom(std::string_view bytes) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return bytes;
}

// The length of the UTF-8 sequence at `at`, 0 when none starts there
// (overlong forms, surrogates and code points beyond U+10FFFF included).
size_t Utf8Length(std::string_view s, size_t at) {
    const auto b = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char c = b(at);
    if (c < 0x80) return 1;
    size_t n;
    unsigned char low = 0x80, high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) low = 0xA0;
        if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) low = 0x90;
        if (c == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + n > s.size()) return 0;
    if (b(at + 1) < low || b(at + 1) > high) return 0;
    for (size_t i = 2; i < n; ++i)
        if ((b(at + i) & 0xC0) != 0x80) return 0;
    return n;
}

// `bytes` when they are UTF-8; else a copy in `repaired` with U+FFFD for
// each byte that starts no sequence.
std::string_view AsUtf8(std::string_view bytes, std::string& repaired) {
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t n = Utf8Length(bytes, at);
        if (n == 0) break;
        at += n;
    }
    if (at == bytes.size()) return bytes;
    repaired.assign(bytes.substr(0, at));
    while (at < bytes.size()) {
        const size_t n = Utf8Length(bytes, at);
        if (n == 0) {
            repaired += "\xEF\xBF\xBD";
            ++at;
        } else {
            repaired.append(bytes.substr(at, n));
            at += n;
        }
    }
    return repaired;
}

// The objects and lists of the document, counted without parsing it.
long CountContainers(std::string_view json) {
    long count = 0;
    bool in_string = false;
    for (size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (in_string) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                in_string = false;
        } else if (c == '"') {
            in_string = true;
        } else if (c == '{' || c == '[') {
            ++count;
        }
    }
    return count;
}

bool Parse(std::string_view bytes, QJsonDocument& doc, std::string& error) {
    std::string repaired;
    const std::string_view json = AsUtf8(WithoutBom(bytes), repaired);
    if (CountContainers(json) > kMaxTableValues) {
        error = Arg(Tr("Tables", "値が多すぎます（%1 を超えるオブジェクトとリスト）。"),
                    {std::to_string(kMaxTableValues)});
        return false;
    }
    QJsonParseError e{};
    doc = QJsonDocument::fromJson(QByteArray::fromRawData(json.data(), qsizetype(json.size())), &e);
    if (e.error != QJsonParseError::NoError) {
        error = Arg(Tr("Tables", "JSON として読めません（%1 バイト目: %2）。"),
                    {std::to_string(e.offset), e.errorString().toStdString()});
        return false;
    }
    return true;
}

std::string Trimmed(std::string text) {
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    size_t a = 0, b = text.size();
    while (a < b && blank(text[a])) ++a;
    while (b > a && blank(text[b - 1])) --b;
    return text.substr(a, b - a);
}

// A text field: a text as it is, a number as its digits ("12", not the empty
// text a typed accessor gives), anything else empty.
std::string Text(const QJsonValue& v) {
    if (v.isString()) return v.toString().toStdString();
    if (v.isDouble()) {
        const QVariant n = v.toVariant();
        if (n.typeId() == QMetaType::LongLong) return std::to_string(n.toLongLong());
        return NumberText(v.toDouble());
    }
    return {};
}

bool IsHex(const std::string& s, size_t length) {
    if (s.size() != length) return false;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

std::string LowerHex(const QJsonValue& v) {
    std::string s = Trimmed(Text(v));
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

void ReadCourse(const QJsonValue& v, std::vector<TableCourse>& out) {
    if (!v.isObject()) return;
    const QJsonObject o = v.toObject();
    TableCourse c;
    c.name = Text(o.value("name"));
    c.charts = o.value("md5").isArray() ? long(o.value("md5").toArray().size()) : 0;
    out.push_back(std::move(c));
}

}  // namespace

std::string NumberText(double value) {
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        return std::to_string(static_cast<long long>(value));
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

bool LooksLikeJsonObject(std::string_view bytes) {
    bytes = WithoutBom(bytes);
    const size_t at = bytes.find_first_not_of(" \t\r\n");
    return at != std::string_view::npos && bytes[at] == '{';
}

bool ReadTableHeader(std::string_view bytes, TableHeader& out, std::string& error) {
    out = TableHeader{};
    QJsonDocument doc;
    if (!Parse(bytes, doc, error)) return false;
    if (!doc.isObject()) {
        error = Tr("Tables", "ヘッダーが JSON のオブジェクトではありません。");
        return false;
    }
    const QJsonObject o = doc.object();
    out.name = Trimmed(Text(o.value("name")));
    out.symbol = Trimmed(Text(o.value("symbol")));
    out.data_url = Trimmed(Text(o.value("data_url")));
    out.tag = Text(o.value("tag"));
    out.last_update = Text(o.value("last_update"));
    if (out.name.empty()) {
        error = Tr("Tables", "ヘッダーに表の名前（name）がありません。");
        return false;
    }
    if (out.data_url.empty()) {
        error = Tr("Tables", "ヘッダーにデータのアドレス（data_url）がありません。");
        return false;
    }
    for (const QJsonValue& level : o.value("level_order").toArray()) {
        std::string text = Trimmed(Text(level));
        if (!text.empty()) out.level_order.push_back(std::move(text));
    }
    // A list of courses, or a list of lists of them (one list a dan set).
    for (const QJsonValue& item : o.value("course").toArray()) {
        if (item.isArray()) {
            for (const QJsonValue& course : item.toArray()) ReadCourse(course, out.courses);
        } else {
            ReadCourse(item, out.courses);
        }
    }
    return true;
}

bool ReadTableData(std::string_view bytes, TableData& out, std::string& error) {
    out = TableData{};
    QJsonDocument doc;
    if (!Parse(bytes, doc, error)) return false;
    QJsonArray list;
    if (doc.isArray()) {
        list = doc.array();
    } else if (doc.isObject() && doc.object().value("charts").isArray()) {
        list = doc.object().value("charts").toArray();
    } else {
        error = Tr("Tables", "データが譜面のリストではありません。");
        return false;
    }
    out.entries.reserve(size_t(list.size()));
    for (const QJsonValue& item : list) {
        if (!item.isObject()) {
            ++out.not_entries;
            continue;
        }
        const QJsonObject o = item.toObject();
        TableEntry e;
        e.level = Trimmed(Text(o.value("level")));
        if (e.level.empty()) {
            ++out.without_level;
            continue;
        }
        std::string md5 = LowerHex(o.value("md5"));
        if (IsHex(md5, 32)) {
            e.md5_key = *ParseMd5(md5);
            e.md5 = std::move(md5);
            e.key = EntryKey::Md5;
        } else if (IsHex(LowerHex(o.value("sha256")), 64)) {
            e.key = EntryKey::Sha256Only;
            ++out.sha256_only;
        } else {
            ++out.unmatchable;
        }
        e.title = Text(o.value("title"));
        e.artist = Text(o.value("artist"));
        e.url = Trimmed(Text(o.value("url")));
        e.url_diff = Trimmed(Text(o.value("url_diff")));
        e.name_diff = Text(o.value("name_diff"));
        e.comment = Text(o.value("comment"));
        out.entries.push_back(std::move(e));
    }
    return true;
}

}  // namespace qv5
