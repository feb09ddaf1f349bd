#include "platform/win_path.h"

#include <cassert>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace qv5 {

size_t WinPath::NameStart() const {
    size_t start = 0;
    for (size_t i = 0; i < text_.size(); ++i) {
        const auto c = static_cast<unsigned char>(text_[i]);
        if (IsLeadByte(c) && i + 1 < text_.size())
            ++i;
        else if (c == '\\' || c == '/')
            start = i + 1;
    }
    return start;
}

bool WinPath::IsFolderForm() const {
    return !text_.empty() && NameStart() == text_.size();
}

WinPath WinPath::AsFolder() const {
    return IsFolderForm() ? *this : WinPath(text_ + '\\');
}

WinPath WinPath::AsFile() const {
    return IsFolderForm() ? WinPath(text_.substr(0, text_.size() - 1)) : *this;
}

WinPath WinPath::Parent() const {
    const WinPath file = AsFile();
    return WinPath(file.text_.substr(0, file.NameStart()));
}

std::string WinPath::LastName() const {
    const WinPath file = AsFile();
    return file.text_.substr(file.NameStart());
}

WinPath WinPath::Join(std::string_view name) const {
    // A name below this folder, never a path of its own.
    assert(!name.empty() && name.front() != '\\' && name.front() != '/' &&
           (name.size() < 2 || name[1] != ':'));
    return WinPath(AsFolder().text_.append(name));
}

bool WinPath::IsWithin(const WinPath& folder) const {
    return AsFolder().text_.starts_with(folder.AsFolder().text_);
}

std::optional<std::string> WinPath::ToHost() const {
    return ToHostPath(text_);
}

std::optional<WinPath> WinPath::FromHost(std::string_view host) {
    auto text = FromHostPath(host);
    if (!text) return std::nullopt;
    return WinPath(std::move(*text));
}

std::string ParentPath(std::string_view path) {
    const WinPath entry{std::string(path)};
    const WinPath file = entry.AsFile();
    if (file.empty() || !PathExists(file.text())) return "ERROR";
    return entry.Parent().text();
}

}  // namespace qv5
