#pragma once
// The profile chooser "Choose a Player Profile": eight buttons over the profile list, the first
// reading "New Player" at the top of the list, and a scroll bar once there are more than seven.

#include <array>
#include <string>

namespace dv::ui {

inline constexpr int kProfileButtons = 8;

class ProfileChooser {
  public:
    enum class Choice {
        Picked,     // a profile of the list is current: the window closes
        Created,    // a new profile is current and saved: the window closes
        StaysOpen,  // no name was given, or it was refused: nothing was written
    };

    // LoadButtons: reads "PlayerProfiles.txt" into PlayerProfiles, shown from the top.
    void Load();
    std::array<std::string, kProfileButtons> Captions() const;
    bool ScrollShown() const;
    int ScrollMaximum() const;
    // VScroll1_Change: the profile number shown on the first button.
    void Scroll(int offset);
    int Offset() const { return offset_; }
    // Command1_Click.
    Choice Click(int button);

  private:
    int offset_ = 0;
};

}  // namespace dv::ui
