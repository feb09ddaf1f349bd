#include "support/fake_sound.h"

namespace qv5::test {

class ScopedSoundDevices::Fixed final : public SoundDevices {
  public:
    explicit Fixed(std::vector<std::string> names) : names_(std::move(names)) {}
    std::vector<std::string> OutputDevices(int output_type) override {
        asked_.push_back(output_type);
        return names_;
    }
    std::vector<std::string> names_;
    std::vector<int> asked_;
};

ScopedSoundDevices::ScopedSoundDevices(std::vector<std::string> names) {
    auto fixed = std::make_unique<Fixed>(std::move(names));
    fixed_ = fixed.get();
    previous_ = SetSoundDevices(std::move(fixed));
}

ScopedSoundDevices::~ScopedSoundDevices() {
    SetSoundDevices(std::move(previous_));
}

const std::vector<int>& ScopedSoundDevices::asked() const {
    return fixed_->asked_;
}

}  // namespace qv5::test
