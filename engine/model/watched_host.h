#pragma once
// Hosts that stand in for the current one: one that notes whether it was called, one that holds
// messages back; and standing one in.

#include <string>

#include "engine/model/host.h"
#include "engine/model/state.h"

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

// Holds the messages it is given, to tell them later as it sees fit (Tell); anything else asked of
// the host first hears the messages held so far, so that they come before it.
class MessageHoldingHost : public Host {
  public:
    explicit MessageHoldingHost(Host& inner) : inner_(inner) {}

    virtual void Tell() = 0;

    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override {
        Tell();
        return inner_.InputBox(prompt, title, defaultText);
    }
    bool AskYesNo(const std::string& question, const std::string& title) override {
        Tell();
        return inner_.AskYesNo(question, title);
    }
    void OpenURL(const std::string& viewer, const std::string& location) override {
        Tell();
        inner_.OpenURL(viewer, location);
    }
    void Call(WindowCall call, const std::string& argument) override {
        Tell();
        inner_.Call(call, argument);
    }

  protected:
    Host& inner_;
};

// Makes a host the current one while it lives, and the one before current again however the
// scope is left.
class HostStandIn {
  public:
    explicit HostStandIn(Host& standIn) : replaced_(TheHost()) { SetHost(&standIn); }
    ~HostStandIn() { SetHost(&replaced_); }
    HostStandIn(const HostStandIn&) = delete;
    HostStandIn& operator=(const HostStandIn&) = delete;

  private:
    Host& replaced_;
};

}  // namespace dv
