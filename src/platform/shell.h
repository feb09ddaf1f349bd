// The desktop's services: "open" of documents and web addresses, the
// plain-text editor, the trash. Each can be replaced by tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace qv5 {

// Opens `target` (CP932) as the shell would. A target enclosed in double
// quotes is passed without them.
void ShellOpen(const std::string& target);

// Replaces the host call (tests record what the program hands over);
// an empty function restores xdg-open. Returns the previous handler.
using ShellOpenHandler = std::function<void(const std::string& target)>;
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler);

// Starts the desktop's editor for plain text with `file` (internal path), not
// waited for. False when nothing could be started.
bool OpenInTextEditor(const std::string& file);
using TextEditorHandler = std::function<bool(const std::string& file)>;
TextEditorHandler SetTextEditorHandler(TextEditorHandler handler);

// The host command line that opens `host_file` in the default application for
// text/plain (xdg-mime), else through xdg-open.
std::vector<std::string> TextEditorCommand(const std::string& host_file);

// Asks (Yes/No naming `path`) and moves the file or folder to the trash. When
// the trash cannot take it, says so and deletes nothing.
enum class TrashResult { Moved, Declined, Failed };
TrashResult DeleteToTrash(QWidget* owner, const std::string& path);
// The move itself (host path); the default is the freedesktop trash.
using TrashHandler = std::function<bool(const std::string& host_path)>;
TrashHandler SetTrashHandler(TrashHandler handler);

}  // namespace qv5
