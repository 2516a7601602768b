#include "tests/ui/designer/designer_fixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace dv::test {

std::string DesignerTest::FileText(const std::vector<CardText>& cards) {
    std::string text;
    int gid = 1000;
    for (const CardText& c : cards) {
        text += "#CARD, COLLECTION, \"" + c.name + "\", \"" + c.uniqueName + ":" +
                std::to_string(++gid) + "\", , " + c.picture + ", , " + c.colour + ", \"About " +
                c.name + "\"\r\n";
        if (!c.traits.empty()) {
            for (const std::string& trait : c.traits)
                text += "#TRAIT, \"" + trait + "\", ";
            text += "\r\n";
        }
        for (const std::string& line : c.captions)
            text += line + "\r\n";
        for (const std::string& line : c.effects)
            text += line + "\r\n";
        text += "#EXTRADATA, " + std::to_string(c.rarity) +
                ", TURNSTART, , %%%0%0%0%0%0%0%0%0, \r\n\r\n";
    }
    return text;
}

std::string DesignerTest::WriteCards(const std::string& name, const std::vector<CardText>& cards) {
    WriteFile(name, FileText(cards));
    return (Folder() / name).string();
}

void DesignerTest::OpenWith(const std::string& file) {
    designer.Open(ui::DesignerOpener::MainMenu);
    designer.Activate();
    dialogs.files.push_back(file);
    designer.LoadCards();
}

std::string DesignerTest::ReadFile(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void DesignerTest::ExpectCardFileNeeded(ui::Designer& shown) {
    for (auto command :
         {&ui::Designer::TestCards, &ui::Designer::ViewCards, &ui::Designer::CreateCustomEnemy}) {
        dialogs.messages.clear();
        (shown.*command)();
        EXPECT_EQ(dialogs.messages,
                  std::vector<std::string>{"You need to load a card file first."});
    }
}

std::vector<std::string> DesignerTest::EditNames() {
    std::vector<std::string> names;
    for (const Card& card : St().EditCards)
        names.push_back(card.Name);
    return names;
}

}  // namespace dv::test
