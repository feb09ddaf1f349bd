#include "player/xml_list.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>
#include <string_view>
#include <vector>

#include "config/config_file.h"
#include "platform/files.h"
#include "platform/text.h"

namespace qv5 {
namespace {

bool DeclaresUtf8(std::string_view data) {
    if (data.substr(0, 3) == "\xEF\xBB\xBF") return true;
    if (data.substr(0, 5) != "<?xml") return false;
    std::string decl(data.substr(0, data.find("?>")));
    std::transform(decl.begin(), decl.end(), decl.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (const char* name : {"\"utf-8\"", "'utf-8'", "\"utf8\"", "'utf8'"})
        if (decl.find(std::string("encoding=") + name) != std::string::npos) return true;
    return false;
}

const char* ChildText(const tinyxml2::XMLElement* entry, const char* name) {
    const tinyxml2::XMLElement* child = entry->FirstChildElement(name);
    return child ? child->GetText() : nullptr;
}

// The white space that lays a list out over lines and indents it belongs to
// the file, not to the value; spaces inside a title are the title's.
std::string_view TrimXmlSpace(std::string_view text) {
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && space(text.front())) text.remove_prefix(1);
    while (!text.empty() && space(text.back())) text.remove_suffix(1);
    return text;
}

// The characters as tinyxml2 tells them apart.
bool IsXmlSpace(int c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsNameStart(int c) {
    return c >= 128 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ':' || c == '_';
}
bool IsNameChar(int c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-';
}

// tinyxml2 refuses an element whose content would be parsed this deep,
// counting the document as 1.
constexpr size_t kTinyxmlDepthLimit = 100;

// Walks the file as tinyxml2 walks a whole document, so that it accepts and
// refuses the same files, while holding only the block being read and the
// entry being gathered. Each complete entry is then parsed by tinyxml2 on its
// own, which gives the same element as the whole document would: nothing in
// an element's parse depends on what surrounds it but the depth, and the
// depth limit is applied here, where the depth is known. The tests hold the
// two readings side by side with the tinyxml2 the program is built with.
class ListScanner {
  public:
    ListScanner(const char* root, const char* entry,
                const std::function<bool(const XmlEntry&)>& each, size_t block)
        : root_(root), entry_(entry), each_(each), block_(std::max<size_t>(block, 1)) {}

    ListRead Run(const std::string& path) {
        if (!file_.Open(path)) return ListRead::Unreadable;
        if (!ReadEncoding()) return ListRead::Unreadable;
        const ListRead r = Walk();
        return read_failed_ ? ListRead::Unreadable : r;
    }

  private:
    enum class Tag { Open, Closing, Closed, Bad };
    static constexpr size_t kNone = std::string::npos;

    // Reads the next block behind what is held; false when nothing came.
    bool More() {
        if (end_) return false;
        const size_t drop = std::min(pos_, held_);
        buf_.erase(0, drop);
        data_ = buf_.data();
        size_ = buf_.size();
        pos_ -= drop;
        if (held_ != kNone) held_ -= drop;
        std::optional<std::string_view> piece = file_.Next(block_buffer_, block_);
        if (!piece) read_failed_ = true;
        if (!piece || piece->empty()) {
            end_ = true;
            return false;
        }
        // The whole-document parse stops at a NUL byte: nothing after one counts.
        const size_t nul = piece->find('\0');
        if (nul != std::string_view::npos) {
            end_ = true;
            *piece = piece->substr(0, nul);
        }
        buf_.append(*piece);
        data_ = buf_.data();
        size_ = buf_.size();
        return !piece->empty();
    }
    // The byte `k` places ahead, -1 past the end.
    int At(size_t k) {
        if (pos_ + k < size_) return static_cast<unsigned char>(data_[pos_ + k]);
        while (pos_ + k >= size_)
            if (!More()) return -1;
        return static_cast<unsigned char>(data_[pos_ + k]);
    }
    bool StartsWith(std::string_view text) {
        for (size_t k = 0; k < text.size(); ++k)
            if (At(k) != static_cast<unsigned char>(text[k])) return false;
        return true;
    }
    void SkipSpace() {
        do {
            while (pos_ < size_ && IsXmlSpace(static_cast<unsigned char>(data_[pos_]))) ++pos_;
        } while (pos_ == size_ && More());
    }
    // Moves past the first `end` ahead; false when the file ends before one.
    bool SkipPast(std::string_view end) {
        for (;;) {
            const size_t at = std::string_view(buf_).find(end, pos_);
            if (at != std::string_view::npos) {
                pos_ = at + end.size();
                return true;
            }
            // Its start may be among the last bytes held.
            if (buf_.size() - pos_ >= end.size()) pos_ = buf_.size() - (end.size() - 1);
            if (!More()) return false;
        }
    }
    // Moves to the next `c`, not past it.
    bool SkipTo(char c) {
        for (;;) {
            const void* at = std::memchr(buf_.data() + pos_, c, buf_.size() - pos_);
            if (at) {
                pos_ = static_cast<size_t>(static_cast<const char*>(at) - buf_.data());
                return true;
            }
            pos_ = buf_.size();
            if (!More()) return false;
        }
    }
    bool Name(std::string& out) {
        out.clear();
        const int c = At(0);
        if (c < 0 || !IsNameStart(c)) return false;
        size_t from = 1;
        for (;;) {
            size_t end = pos_ + from;
            while (end < size_ && IsNameChar(static_cast<unsigned char>(data_[end]))) ++end;
            out.append(data_ + pos_, end - pos_);
            pos_ = end;
            from = 0;
            if (end < size_ || !More()) return true;
        }
    }

    // The texts are UTF-8 when the file begins with a byte-order mark or a
    // declaration saying so; the declaration is held until its end.
    bool ReadEncoding() {
        held_ = 0;
        size_t upto = 3;
        if (StartsWith("<?xml")) {
            if (!SkipPast("?>")) return false;
            upto = pos_;
        }
        At(2);
        utf8_ = DeclaresUtf8(std::string_view(buf_).substr(0, std::min(upto, buf_.size())));
        pos_ = 0;
        held_ = kNone;
        return true;
    }

    // A tag after its '<', up to and with its '>'. An end tag may carry
    // attributes, and one closed with "/>" is an empty element.
    Tag ReadTag(std::string& name) {
        SkipSpace();
        const bool closing = At(0) == '/';
        if (closing) ++pos_;
        if (!Name(name)) return Tag::Bad;
        attributes_.clear();
        for (;;) {
            SkipSpace();
            const int c = At(0);
            if (c < 0) return Tag::Bad;
            if (IsNameStart(c)) {
                Name(attribute_);
                if (At(0) < 0) return Tag::Bad;
                SkipSpace();
                if (At(0) != '=') return Tag::Bad;
                ++pos_;
                SkipSpace();
                const int quote = At(0);
                if (quote != '"' && quote != '\'') return Tag::Bad;
                ++pos_;
                const char end = static_cast<char>(quote);
                if (!SkipPast(std::string_view(&end, 1))) return Tag::Bad;
                if (!attributes_.insert(attribute_).second) return Tag::Bad;
            } else if (c == '>') {
                ++pos_;
                return closing ? Tag::Closing : Tag::Open;
            } else if (c == '/' && At(1) == '>') {
                pos_ += 2;
                return Tag::Closed;
            } else {
                return Tag::Bad;
            }
        }
    }

    // The held entry, from its '<' to here, parsed on its own and given on.
    ListRead GiveEntry() {
        const char* data = buf_.data() + held_;
        const size_t size = pos_ - held_;
        held_ = kNone;
        if (doc_.Parse(data, size) != tinyxml2::XML_SUCCESS || !doc_.RootElement())
            return ListRead::Unreadable;
        return each_({doc_.RootElement(), utf8_}) ? ListRead::Done : ListRead::Stopped;
    }

    // The names of the elements not yet closed, one after the other in one
    // string: a list opens and closes an element every few bytes.
    class OpenElements {
      public:
        bool empty() const { return ends_.empty(); }
        size_t size() const { return ends_.size(); }
        void Open(const std::string& name) {
            names_ += name;
            ends_.push_back(names_.size());
        }
        // False when `name` is not the last one opened.
        bool Close(const std::string& name) {
            const size_t begin = ends_.size() > 1 ? ends_[ends_.size() - 2] : 0;
            if (std::string_view(names_).substr(begin) != name) return false;
            names_.resize(begin);
            ends_.pop_back();
            return true;
        }

      private:
        std::string names_;
        std::vector<size_t> ends_;
    };

    ListRead Walk() {
        SkipSpace();
        if (StartsWith("\xEF\xBB\xBF")) pos_ += 3;
        OpenElements open;
        bool only_declarations = true;  // so far at the top
        bool root_seen = false, in_root = false, entries = false, in_entry = false;
        std::string name;
        for (;;) {
            SkipSpace();
            const int c = At(0);
            if (c < 0) break;
            const bool top = open.empty();
            if (c != '<') {
                if (!SkipTo('<')) return ListRead::Unreadable;  // text up to the end
            } else if (At(1) == '?') {
                pos_ += 2;
                if (!SkipPast("?>")) return ListRead::Unreadable;
                // Only at the top, before anything else.
                if (!top || !only_declarations) return ListRead::Unreadable;
                continue;
            } else if (At(1) == '!' && StartsWith("<!--")) {
                pos_ += 4;
                if (!SkipPast("-->")) return ListRead::Unreadable;
            } else if (At(1) == '!' && StartsWith("<![CDATA[")) {
                pos_ += 9;
                if (!SkipPast("]]>")) return ListRead::Unreadable;
            } else if (At(1) == '!') {
                pos_ += 2;
                if (!SkipPast(">")) return ListRead::Unreadable;
            } else {
                const bool child_of_root = in_root && open.size() == 1;
                if (child_of_root) held_ = pos_;
                ++pos_;
                const Tag tag = ReadTag(name);
                if (tag == Tag::Bad) return ListRead::Unreadable;
                if (tag == Tag::Closing) {
                    // An end tag at the top ends the document there.
                    if (top) break;
                    if (!open.Close(name)) return ListRead::Unreadable;
                    if (in_entry && open.size() == 1) {
                        in_entry = false;
                        if (const ListRead r = GiveEntry(); r != ListRead::Done) return r;
                    } else if (child_of_root) {
                        in_root = false;  // the root's end tag
                        held_ = kNone;
                    }
                    continue;
                }
                if (top && !root_seen && name == root_) {
                    root_seen = true;
                    in_root = tag == Tag::Open;
                } else if (child_of_root) {
                    entries = entries || name == entry_;
                    in_entry = entries && tag == Tag::Open;
                    if (entries && tag == Tag::Closed) {
                        if (const ListRead r = GiveEntry(); r != ListRead::Done) return r;
                    }
                    if (!in_entry) held_ = kNone;
                }
                if (tag == Tag::Open) {
                    if (At(0) < 0 || open.size() + 2 >= kTinyxmlDepthLimit)
                        return ListRead::Unreadable;
                    open.Open(name);
                }
            }
            if (top) only_declarations = false;
        }
        return open.empty() && entries ? ListRead::Done : ListRead::Unreadable;
    }

    const char* root_;
    const char* entry_;
    const std::function<bool(const XmlEntry&)>& each_;
    size_t block_;
    FileReader file_;
    std::string block_buffer_, buf_;
    // buf_'s bytes, for the reading of one byte at a time
    const char* data_ = nullptr;
    size_t size_ = 0;
    size_t pos_ = 0;       // in buf_
    size_t held_ = kNone;  // where the bytes kept in buf_ begin, kNone when none are
    bool end_ = false, read_failed_ = false, utf8_ = false;
    std::set<std::string> attributes_;
    std::string attribute_;
    tinyxml2::XMLDocument doc_{true, tinyxml2::PRESERVE_WHITESPACE};
};

}  // namespace

ListRead ReadXmlList(const std::string& path, const char* root, const char* entry,
                     const std::function<bool(const XmlEntry&)>& each, size_t block) {
    return ListScanner(root, entry, each, block).Run(path);
}

bool LoadXmlList(const std::string& path, const char* root, const char* entry, XmlList& out) {
    std::string data;
    if (!ReadWholeFile(path, data)) return false;
    return ParseXmlList(data, root, entry, out);
}

bool ParseXmlList(std::string_view data, const char* root, const char* entry, XmlList& out) {
    if (out.doc.Parse(data.data(), data.size()) != tinyxml2::XML_SUCCESS) return false;
    const tinyxml2::XMLElement* r = out.doc.FirstChildElement(root);
    out.first = r ? r->FirstChildElement(entry) : nullptr;
    out.utf8 = DeclaresUtf8(data);
    return out.first != nullptr;
}

std::string EntryTextUtf8(const XmlList& list, const tinyxml2::XMLElement* entry,
                          const char* name) {
    return EntryTextUtf8(XmlEntry{entry, list.utf8}, name);
}

std::string EntryTextUtf8(const XmlEntry& entry, const char* name) {
    const char* text = ChildText(entry.element, name);
    if (!text) return std::string();
    const std::string_view value = TrimXmlSpace(text);
    return entry.utf8 ? std::string(value) : Cp932ToUtf8(value);
}

std::int32_t EntryNumber(const tinyxml2::XMLElement* entry, const char* name) {
    const char* text = ChildText(entry, name);
    return text ? LeadingNumber(text) : 0;
}

}  // namespace qv5
