#pragma once
// A host that notes whether it was called.

#include <string>

#include "engine/model/host.h"

namespace dv {

// Passes every call on to the host it stands in for and notes that there was one: work that
// showed or asked anything is not kept for doing again.
class WatchedHost : public Host {
  public:
    explicit WatchedHost(Host& inner) : inner_(inner) {}
    bool called = false;

    void MessageBox(const std::string& text, const std::string& title) override {
        called = true;
        inner_.MessageBox(text, title);
    }
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override {
        called = true;
        return inner_.InputBox(prompt, title, defaultText);
    }
    bool AskYesNo(const std::string& question, const std::string& title) override {
        called = true;
        return inner_.AskYesNo(question, title);
    }
    void OpenURL(const std::string& viewer, const std::string& location) override {
        called = true;
        inner_.OpenURL(viewer, location);
    }
    void Call(WindowCall call, const std::string& argument) override {
        called = true;
        inner_.Call(call, argument);
    }

  private:
    Host& inner_;
};

}  // namespace dv
