#pragma once
// Where the main window's controls go, in pixels of its client area. The design is laid out on
// 800 × 600; on a resize the views stretch, the hand strip and the buttons stay.

namespace dv::ui {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The client area is never made smaller than this; below it the hand strip and the picture panel
// would leave the board and the queued plays no room.
inline constexpr int kMinimumWidth = 720;
inline constexpr int kMinimumHeight = 540;

namespace design {
inline constexpr int kWidth = 800, kHeight = 600;
inline constexpr Rect kBoard{152, 0, 449, 473};
inline constexpr Rect kQueue{0, 504, 153, 97};
inline constexpr Rect kCardView{600, 472, 201, 129};
inline constexpr Rect kChat{152, 472, 449, 105};
inline constexpr Rect kChatLine{152, 576, 425, 25};
inline constexpr Rect kColourButton{576, 576, 25, 25};
inline constexpr Rect kPicture{496, 8, 300, 450};
inline constexpr Rect kTakeTurn{0, 480, 153, 25};
inline constexpr Rect kBackButton{152, 0, 129, 17};
}  // namespace design

// Hand picture of slot 1 to 10: the odd slots on the left, the even ones on the right, five rows.
Rect HandPicture(int slot);
// The label naming the card of a slot: above the row for the left card, below it for the right.
Rect HandLabel(int slot);

struct MainLayout {
    Rect board, queue, cardView, chat, chatLine, colourButton, picture;
    bool chatShown = false;
};

// Form_Resize for a client area of that size; no size comes out negative.
MainLayout LayOut(int width, int height, bool connected);

}  // namespace dv::ui
