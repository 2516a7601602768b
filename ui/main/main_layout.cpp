#include "ui/main/main_layout.h"

#include <algorithm>

namespace dv::ui {
namespace {

constexpr int kHandPictureSize = 65;
constexpr int kHandRowHeight = 96;
constexpr int kHandLabelWidth = 137;
constexpr int kHandLabelHeight = 17;

int AtLeastZero(int size) {
    return std::max(size, 0);
}

}  // namespace

Rect HandPicture(int slot) {
    const int row = (slot - 1) / 2;
    const bool left = slot % 2 == 1;
    return {left ? 8 : 80, 16 + kHandRowHeight * row, kHandPictureSize, kHandPictureSize};
}

Rect HandLabel(int slot) {
    const int row = (slot - 1) / 2;
    const bool left = slot % 2 == 1;
    return {8, kHandRowHeight * row + (left ? 0 : 80), kHandLabelWidth, kHandLabelHeight};
}

MainLayout LayOut(int width, int height, bool connected) {
    MainLayout l{design::kBoard,    design::kQueue,        design::kCardView, design::kChat,
                 design::kChatLine, design::kColourButton, design::kPicture};
    l.picture.left = width - l.picture.width;
    l.board.width = AtLeastZero(l.picture.left - l.board.left);
    l.chatShown = connected;
    if (connected) {
        l.board.height = AtLeastZero(height - l.board.top - l.chat.height - l.chatLine.height);
        l.chat.top = l.board.height;
        l.chat.width = AtLeastZero(l.picture.left - l.chat.left);
        l.chatLine.width = AtLeastZero(l.picture.left - l.chatLine.left - l.colourButton.width);
        l.chatLine.top = l.chat.height + l.board.height;
        l.colourButton.left = l.chatLine.left + l.chatLine.width;
        l.colourButton.top = l.chatLine.top;
    } else {
        l.board.height = AtLeastZero(height - l.board.top);
    }
    l.queue.height = AtLeastZero(height - l.queue.top);
    l.cardView.left = l.picture.left;
    l.cardView.width = AtLeastZero(width - l.cardView.left);
    l.cardView.height = AtLeastZero(height - l.cardView.top);
    return l;
}

}  // namespace dv::ui
