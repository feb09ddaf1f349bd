#include "convert/native_tools.h"

#include <mutex>
#include <set>

#include "config/config_keys.h"
#include "convert/conversion.h"
#include "platform/process.h"
#include "platform/text.h"
#include "platform/tr.h"

namespace qv5 {
namespace {

struct NativeConverter {
    const char* windows_default;  // the value config.xml starts with
    const char* native;
    const char* package;
};

const NativeConverter kConverters[] = {
    {KeyOf(&ConfigRecord::oggenc_body).text_default, "oggenc", "vorbis-tools"},
    {KeyOf(&ConfigRecord::oggdec_body).text_default, "oggdec", "vorbis-tools"},
};

const NativeConverter* DefaultOf(const std::string& program) {
    for (const NativeConverter& c : kConverters)
        if (program == c.windows_default) return &c;
    return nullptr;
}

// The native program to run instead of `program`, or empty.
std::string Fallback(const std::string& program) {
    const NativeConverter* c = DefaultOf(program);
    if (!c || ConverterExists(program)) return {};
    return FindOnPath(c->native).empty() ? std::string() : std::string(c->native);
}

}  // namespace

ToolSettings WithNativeConverters(const ToolSettings& tools,
                                  const std::function<void(const std::string&)>& say) {
    static std::mutex told_lock;
    static std::set<std::string> told;
    ToolSettings out = tools;
    for (std::string* body : {&out.oggenc_body, &out.oggdec_body}) {
        const std::string native = Fallback(*body);
        if (native.empty()) continue;
        const std::string path = Utf8ToCp932Lossy(FindOnPath(native));
        const std::string configured = *body;
        *body = native;
        {
            std::lock_guard<std::mutex> lock(told_lock);
            if (!told.insert(native).second) continue;
        }
        if (!say) continue;
        say(Arg(Tr("NativeTools", "%1 が見つからないため、代わりに %2 を使用します。"),
                {configured, path}));
    }
    return out;
}

std::string MissingDefaultConverterMessage(const std::string& program) {
    const NativeConverter* c = DefaultOf(program);
    if (!c) return {};
    const std::string install = std::string("apt install ") + c->package;
    return Arg(Tr("NativeTools",
                  "ゲームフォルダに %1 がなく、PATH にも %1 / %2 が見つかりません。"
                  "次のコマンドでインストールして下さい: %3"),
               {c->windows_default, c->native, install});
}

}  // namespace qv5
