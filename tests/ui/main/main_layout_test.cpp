#include "ui/main/main_layout.h"

#include <gtest/gtest.h>

namespace dv::ui {
namespace {

TEST(MainLayoutTest, ViewsStretchWithTheWindowAndTheChatPanelShowsOnlyWhenConnected) {
    struct Row {
        int width, height;
        bool connected;
        Rect board, chat, chatLine, colourButton, queue, cardView;
        int pictureLeft;
    };
    const Row rows[] = {
        {800,
         600,
         false,
         {152, 0, 348, 600},
         design::kChat,
         design::kChatLine,
         design::kColourButton,
         {0, 504, 153, 96},
         {500, 472, 300, 128},
         500},
        {1000,
         700,
         false,
         {152, 0, 548, 700},
         design::kChat,
         design::kChatLine,
         design::kColourButton,
         {0, 504, 153, 196},
         {700, 472, 300, 228},
         700},
        {800,
         600,
         true,
         {152, 0, 348, 470},
         {152, 470, 348, 105},
         {152, 575, 323, 25},
         {475, 575, 25, 25},
         {0, 504, 153, 96},
         {500, 472, 300, 128},
         500},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.width) + "x" + std::to_string(r.height));
        const MainLayout l = LayOut(r.width, r.height, r.connected);
        EXPECT_EQ(l.chatShown, r.connected);
        EXPECT_EQ(l.board, r.board);
        EXPECT_EQ(l.chat, r.chat);
        EXPECT_EQ(l.chatLine, r.chatLine);
        EXPECT_EQ(l.colourButton, r.colourButton);
        EXPECT_EQ(l.queue, r.queue);
        EXPECT_EQ(l.cardView, r.cardView);
        EXPECT_EQ(l.picture.left, r.pictureLeft);
    }
}

// A window squeezed below the design would give negative sizes, which the toolkit refuses.
TEST(MainLayoutTest, NoSizeComesOutNegativeInATinyWindow) {
    for (const bool connected : {false, true}) {
        for (const int side : {0, 100, 400}) {
            const MainLayout l = LayOut(side, side, connected);
            for (const Rect& r : {l.board, l.queue, l.cardView, l.chat, l.chatLine}) {
                EXPECT_GE(r.width, 0);
                EXPECT_GE(r.height, 0);
            }
        }
    }
    const MainLayout atMinimum = LayOut(kMinimumWidth, kMinimumHeight, true);
    EXPECT_GT(atMinimum.board.width, 0);
    EXPECT_GT(atMinimum.board.height, 0);
    EXPECT_GT(atMinimum.queue.height, 0);
}

TEST(MainLayoutTest, HandPicturesPairUpInRowsWithTheirLabelsAboveAndBelow) {
    EXPECT_EQ(HandPicture(1), (Rect{8, 16, 65, 65}));
    EXPECT_EQ(HandPicture(2), (Rect{80, 16, 65, 65}));
    EXPECT_EQ(HandPicture(10), (Rect{80, 400, 65, 65}));
    EXPECT_EQ(HandLabel(1), (Rect{8, 0, 137, 17}));
    EXPECT_EQ(HandLabel(2), (Rect{8, 80, 137, 17}));
    EXPECT_EQ(HandLabel(9), (Rect{8, 384, 137, 17}));
}

}  // namespace
}  // namespace dv::ui
