#pragma once
// The sample game of content/ in a program folder of its own, started up through the host with the
// profile "Guest" chosen, for driving the deck manager's logic the way the game opens it.

#include <filesystem>
#include <fstream>
#include <string>

#include "data/card_files.h"
#include "engine/model/files.h"
#include "game/startup.h"
#include "tests/support/first_profile.h"
#include "tests/support/recording_host.h"
#include "tests/ui/decks/deck_manager_fixture.h"

namespace dv::test {

class SampleDecksTest : public DeckManagerTest {
  protected:
    void SetUp() override {
        DeckManagerTest::SetUp();
        std::filesystem::copy(std::filesystem::path(DV_SOURCE_DIR) / "content", Folder(),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        flow.onCall[WindowCall::ShowProfileMenu] = ChooseFirstProfile;
        Fresh();
    }

    // A new run of the program on the same folder: nothing is kept but the files.
    void Restart() {
        ResetState();
        Fresh();
        Main();
    }

    static std::string PlayerFileName() { return "Mosslight_Guest.plr"; }
    std::string PlayerFile() const {
        return ReadWholeFile(Folder() / PlayerFileName()).value_or("");
    }
    void AppendToPlayerFile(const std::string& text) {
        std::ofstream(Folder() / PlayerFileName(), std::ios::binary | std::ios::app) << text;
    }
    // A deck list block of the player file.
    static std::string DeckBlock(const std::string& name, int32_t first, int32_t last,
                                 std::initializer_list<int32_t> more = {}) {
        std::string text = "\"#DECK\",\"" + name + "\"\r\n";
        for (int32_t id = first; id <= last; ++id)
            text += std::to_string(id) + "\r\n";
        for (int32_t id : more)
            text += std::to_string(id) + "\r\n";
        return text + "\"#ENDOFDECK\"\r\n\r\n";
    }

    // The opponent portrait link of the games page.
    std::string OpponentLink(const std::string& opponentFile) const {
        const std::string page = ReadWholeFile(Folder() / "Display.html").value_or("");
        const std::size_t end = page.find(opponentFile + "\"");
        if (end == std::string::npos) return {};
        const std::size_t start = page.rfind("\"GAME:", end);
        return page.substr(start + 1, end + opponentFile.size() - start - 1);
    }

    // The slot of a pane whose picture is that card's thumbnail, -1 when none shows it.
    static int SlotShowing(const std::array<ui::SlotDraw, kPaneSlots>& pane,
                           const std::string& thumbnail) {
        for (int i = 0; i < kPaneSlots; ++i) {
            const auto& picture = pane[i].picture;
            if (pane[i].change == ui::SlotDraw::Change::Show && picture &&
                picture->size() >= thumbnail.size() &&
                picture->compare(picture->size() - thumbnail.size(), thumbnail.size(), thumbnail) ==
                    0)
                return i;
        }
        return -1;
    }

    RecordingHost flow;

  private:
    void Fresh() {
        SetHost(&flow);
        State& st = St();
        st.ProgramFolder = st.CurrentFolder = Folder();
        st.SeedOverride = 2024;
        st.FixedNow = "2024-05-01 10:00:00";
    }
};

}  // namespace dv::test
