// Internal paths are CP932 texts in Windows form: "\" separators, relative to
// the program directory or absolute with a drive letter. Drive Z: is the host
// root, as under Wine. Only this layer knows host paths.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv5 {

// Internal path -> host path (UTF-8, "/" separators). A trailing separator is
// dropped (except for the root). nullopt for drives other than Z:.
std::optional<std::string> ToHostPath(std::string_view path);

// Host path -> internal path. Absolute host paths get the Z: drive. nullopt
// when a name has no exact CP932 form: such a path cannot be represented.
std::optional<std::string> FromHostPath(std::string_view host);

// The program directory, internal form with a trailing "\".
const std::string& ProgramDirectory();

// Sets the program directory from a host directory (the executable's, or the
// one given by --dir) and makes it the current directory. False when the
// directory does not exist or cannot be represented.
bool SetProgramDirectory(const std::string& host_dir);

// Makes the program directory current again (after a picker may have moved
// it). False when no program directory is set or it is gone.
bool MakeProgramDirectoryCurrent();

// An internal path as a person on this system names it: the host path,
// relative to the host folder `from` when it lies below it ("." for `from`
// itself), else absolute; a folder (an internal path ending in "\") keeps a
// trailing "/". A path of another drive than Z: stays in its internal form.
// UTF-8.
std::string HostPathShown(std::string_view internal, const std::string& from);

// Host directory of the running executable.
std::string ExecutableHostDirectory();
// The host directory this process was started in ("." when it has none).
std::string CurrentHostDirectory();

// Host paths as a person types them on the command line.
// `host` made absolute from `start_dir` when it is relative.
std::string FromStartDir(const std::string& host, const std::string& start_dir);
// The real path (links, "." and ".." resolved); nullopt when it does not exist.
std::optional<std::string> RealHostPath(const std::string& host);
// Tidied by its text alone ("a/./b/../c" is "a/c"), without a trailing "/".
std::string TidyHostPath(const std::string& host);
// The path with its folder resolved and its own name kept, so that a link
// stays the link; nullopt when the folder or the entry itself is missing.
std::optional<std::string> ResolveFolderOf(const std::string& host);
// True when the host path names a folder (through links).
bool IsHostDirectory(const std::string& host);
// True when the two host paths name one file (through links).
bool SameHostFile(const std::string& a, const std::string& b);

}  // namespace qv5
