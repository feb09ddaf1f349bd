#include "platform/sound_devices.h"

#include <alsa/asoundlib.h>

#include <cstdlib>

#include "platform/text.h"

namespace qv5 {
namespace {

std::string HintText(const void* hint, const char* id) {
    char* value = snd_device_name_get_hint(hint, id);
    if (!value) return {};
    std::string text = value;
    std::free(value);
    return text;
}

// ALSA tells on stderr of every card it cannot open; a missing card is an
// empty list here, nothing to print.
void Quiet(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

// The output type chooses how the game body reaches the devices; under Wine
// every type reaches the same host devices.
std::vector<std::string> SoundOutputDevices(int) {
    std::vector<std::string> names;
    snd_lib_error_set_handler(Quiet);
    void** hints = nullptr;
    if (snd_device_name_hint(-1, "pcm", &hints) != 0 || !hints) return names;
    for (void** h = hints; *h; ++h) {
        const std::string io = HintText(*h, "IOID");
        if (io == "Input") continue;  // no IOID: both directions
        std::string name = HintText(*h, "DESC");
        if (name.empty()) name = HintText(*h, "NAME");
        // The description's first line names the card; the second its use.
        const size_t eol = name.find('\n');
        if (eol != std::string::npos) {
            std::string rest = name.substr(eol + 1);
            name.resize(eol);
            if (!rest.empty()) name += ", " + rest;
        }
        if (!name.empty()) names.push_back(Utf8ToCp932Lossy(name));
    }
    snd_device_name_free_hint(hints);
    return names;
}

}  // namespace qv5
