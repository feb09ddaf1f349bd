#include "tables/table_page.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>
#include <strings.h>

#include <memory>
#include <mutex>

#include "tables/table.h"

namespace qv5 {
namespace {

const char* Attribute(xmlNode* node, const char* name) {
    for (xmlAttr* a = node->properties; a; a = a->next)
        if (a->name && strcasecmp(reinterpret_cast<const char*>(a->name), name) == 0 &&
            a->children && a->children->content)
            return reinterpret_cast<const char*>(a->children->content);
    return nullptr;
}

std::string Trimmed(std::string_view s) {
    const size_t a = s.find_first_not_of(" \t\r\n\f");
    if (a == std::string_view::npos) return {};
    return std::string(s.substr(a, s.find_last_not_of(" \t\r\n\f") - a + 1));
}

}  // namespace

std::optional<std::string> FindBmsTableMeta(std::string_view html) {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
    if (html.empty() || std::int64_t(html.size()) > kMaxTableFileBytes) return std::nullopt;
    // No network, no messages on stderr, and a page with errors read as
    // far as it goes; the encoding as the page declares it (libxml2 gives
    // UTF-8 whatever it was).
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        htmlReadMemory(
            html.data(), int(html.size()), nullptr, nullptr,
            HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET | HTML_PARSE_RECOVER),
        &xmlFreeDoc);
    if (!doc) return std::nullopt;
    // Walked without recursion: a page of a million nested elements must not
    // exhaust the stack.
    xmlNode* root = xmlDocGetRootElement(doc.get());
    for (xmlNode* n = root; n;) {
        if (n->type == XML_ELEMENT_NODE && n->name &&
            strcasecmp(reinterpret_cast<const char*>(n->name), "meta") == 0) {
            const char* name = Attribute(n, "name");
            const char* content = Attribute(n, "content");
            if (name && content && strcasecmp(Trimmed(name).c_str(), "bmstable") == 0) {
                std::string url = Trimmed(content);
                if (!url.empty()) return url;
            }
        }
        if (n->children) {
            n = n->children;
            continue;
        }
        while (n && n != root && !n->next) n = n->parent;
        if (!n || n == root) break;
        n = n->next;
    }
    return std::nullopt;
}

}  // namespace qv5
