// Shows pages in the viewer control offscreen and prints the median time until a page has
// loaded: the sample game's board page and a page of about 1 MB.
//
//     build/viewer_timing [loads of each page, default 25]

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/viewer/sample_pages.h"
#include "viewer/ulk_browser.h"

namespace {

constexpr std::size_t kLargePageBytes = 1 << 20;

// Rows like the board's: a card link, a picture and some text each.
std::string LargePage() {
    std::string page = "<HTML>\r\n<body bgcolor=\"#000000\" text=\"#FFFFFF\">\r\n<table>";
    for (int row = 0; page.size() < kLargePageBytes; ++row) {
        const std::string n = std::to_string(row);
        page += "<tr><td><a href=\"CARD" + n + "\"><font color=#99FF33>Marsh lantern " + n +
                "</font></a></td><td>HP: " + n +
                " POWER: 2 GLOWCOST: 1</td>"
                "<td><i>The lantern sways over the black water and the reeds answer.</i>"
                "</td></tr>\r\n";
    }
    return page + "</table>\r\n</body></HTML>\r\n";
}

struct Figures {
    double median = 0;
    double fastest = 0;
    double slowest = 0;
};

Figures Measure(ulkBrowser& browser, const std::string& path, const std::string& other, int loads) {
    auto location = [](std::string p) {
        std::replace(p.begin(), p.end(), ':', '|');
        return QString::fromStdString("file:///" + p);
    };
    std::vector<double> times;
    for (int i = 0; i < loads; ++i) {
        browser.OpenURL(location(other));  // so that every measured load replaces a page
        QElapsedTimer clock;
        clock.start();
        browser.OpenURL(location(path));
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front(), times.back()};
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const int loads = argc > 1 ? std::max(1, std::atoi(argv[1])) : 25;

    QTemporaryDir root;
    const std::filesystem::path folder = root.path().toStdString() + "/program folder";
    dv::test::RecordingHost host;
    const dv::test::SamplePages pages =
        dv::test::WriteSamplePages(std::filesystem::path(DV_SOURCE_DIR) / "content", folder, host);
    if (pages.board.empty()) {
        std::fprintf(stderr, "The sample game did not start.\n");
        return 1;
    }
    const std::filesystem::path large = folder / "large.html";
    std::ofstream(large, std::ios::binary) << LargePage();
    const std::filesystem::path blank = folder / "blank.htm";

    ulkBrowser browser;
    browser.resize(1024, 768);
    browser.show();
    if (!QTest::qWaitForWindowExposed(&browser)) {
        std::fprintf(stderr, "The control was not shown.\n");
        return 1;
    }
    QElapsedTimer first;
    first.start();
    browser.OpenURL(QString::fromStdString(pages.board.string()));
    const double firstMs = first.nsecsElapsed() / 1e6;

    const Figures board = Measure(browser, pages.board.string(), blank.string(), loads);
    const Figures big = Measure(browser, large.string(), blank.string(), loads);
    std::printf("first page of the process   %8.1f ms\n", firstMs);
    std::printf("board page (%6.0f KB)  median %7.1f ms  (fastest %.1f, slowest %.1f; %d loads)\n",
                std::filesystem::file_size(pages.board) / 1024.0, board.median, board.fastest,
                board.slowest, loads);
    std::printf("large page (%6.0f KB)  median %7.1f ms  (fastest %.1f, slowest %.1f; %d loads)\n",
                std::filesystem::file_size(large) / 1024.0, big.median, big.fastest, big.slowest,
                loads);
    dv::SetHost(nullptr);
    return 0;
}
