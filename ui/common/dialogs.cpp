#include "ui/common/dialogs.h"

namespace dv::ui {
namespace {

class SilentDialogs : public Dialogs {
  public:
    void Message(const std::string&, const std::string&) override {}
    std::optional<std::string> Input(const std::string&, const std::string&,
                                     const std::string&) override {
        return std::nullopt;
    }
    bool YesNo(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> OpenFile(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFile(const std::string&, const std::string&, const std::string&,
                                        const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<uint32_t> Colour(uint32_t) override { return std::nullopt; }
};

SilentDialogs silentDialogs;
Dialogs* currentDialogs = &silentDialogs;

}  // namespace

Dialogs& TheDialogs() {
    return *currentDialogs;
}

void SetDialogs(Dialogs* dialogs) {
    currentDialogs = dialogs ? dialogs : &silentDialogs;
}

}  // namespace dv::ui
