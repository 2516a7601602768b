#include "data/games_page.h"

#include <exception>

#include "engine/model/guard.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"

namespace dv {
namespace {

// Opponents per row of portraits; the empty first entry of every opponent list takes a place.
constexpr int kPortraitsPerRow = 8;

const std::string kQuote = "\"";

// Mission lists are parallel, but one written through another game's mission file may be shorter.
const std::string& EntryOrEmpty(const List<std::string>& list, int i) {
    static const std::string empty;
    return list.Has(i) ? list[i] : empty;
}

std::string GameTable(const GameInfo& game, const std::string& number, std::string& stage) {
    stage = "1";
    std::string picture;
    if (!game.Picture.empty())
        picture = "<img src=" + kQuote + GetImagePath(game.Picture, 0) + kQuote + "></img><br>";
    std::string text = "<table align=top width=100%><tr><td colspan=80 bgcolor=" + game.HeaderText +
                       "><center><font color=#FFFFFF>" + picture + game.Name +
                       "</font><font size=-2 color=FFFFFF><br>(Select an opponent from the "
                       "portraits below)</font><br><a href=" +
                       kQuote + "HELP:" + game.HelpPage + kQuote +
                       ">Click here for help on this game.</a></td></tr>";
    text += "<tr>";

    stage = "2";
    for (int j = 1; j <= game.Opponents.size(); ++j) {
        const Card& opponent = game.Opponents[j];
        if (opponent.Name.empty()) continue;
        const std::string link =
            "<a href=" + kQuote + "GAME:" + number + ":" + opponent.SetFile + kQuote + ">";
        text += "<td bgcolor=" + game.HeaderText + "><center><font color=#FFFFFF>";
        if (!opponent.Thumbnail.empty())
            text += link + "<img src=" + kQuote + GetImagePath(opponent.Thumbnail, 0) + kQuote +
                    "></img><br></a>";
        text += link + opponent.Name + "</a></font></td>";
        if (j % kPortraitsPerRow == 0) text += "</tr><tr>";
    }

    stage = "3";
    text += "</tr>";
    text += "</table>";

    stage = "4";
    for (int m = 1; m <= game.MissionTexts.size(); ++m) {
        if (game.MissionTexts[m].empty()) continue;
        if (m == 1) text += "<br>&ltMISSIONS&gt<br>";
        // Quoted like the opponent links: the mission's path may hold blanks.
        text += "<br><a href=" + kQuote + "game:" + number + ":" +
                EntryOrEmpty(game.MissionFiles, m) + kQuote + ">" +
                EntryOrEmpty(game.MissionTitles, m) + "</a> " + game.MissionTexts[m] + "<br>";
    }
    return text;
}

}  // namespace

std::string DisplayGames() {
    std::string stage;
    try {
        std::string page;
        const List<GameInfo>& games = St().Games;
        for (int i = 1; i <= games.size(); ++i) {
            if (games[i].Name.empty()) continue;
            page += GameTable(games[i], std::to_string(i), stage);
        }
        return page;
    } catch (const std::exception&) {
        ReportError(("DisplayGames: " + stage).c_str());
        return {};
    }
}

}  // namespace dv
