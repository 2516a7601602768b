// Times what the card designer does for a new card picture: read a 4000 by 3000 JPEG art picture
// (with a back picture and a thumbnail border), compose the card picture and its thumbnail, and
// write both as JPEG files.
//
//   QT_QPA_PLATFORM=offscreen build/card_picture_timing [runs]   (default 10)

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/designer/qt_card_picture.h"
#include "ui/designer/qt_image_export.h"

namespace {

constexpr int kArtWidth = 4000;
constexpr int kArtHeight = 3000;
constexpr int kMaxRuns = 1000;

// Art with gradients and detail, so that reading it costs what a photograph costs.
QImage MakeArt() {
    QImage art(kArtWidth, kArtHeight, QImage::Format_RGB32);
    for (int y = 0; y < kArtHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(art.scanLine(y));
        for (int x = 0; x < kArtWidth; ++x)
            row[x] = qRgb((x * 255) / kArtWidth, (y * 255) / kArtHeight, ((x ^ y) * 7) & 0xFF);
    }
    return art;
}

struct Times {
    double load = 0, compose = 0, save = 0, total = 0;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int runs = std::clamp(argc > 1 ? std::atoi(argv[1]) : 10, 1, kMaxRuns);

    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    if (!MakeArt().save(dir.filePath("art.jpg"), "jpeg", 90)) {
        std::fprintf(stderr, "cannot write the art picture\n");
        return 1;
    }
    QImage back(dv::ui::kCardWidth, dv::ui::kCardHeight, QImage::Format_RGB32);
    back.fill(QColor(60, 40, 20));
    back.save(dir.filePath("back.bmp"));
    QImage border(66, 66, QImage::Format_RGB32);
    border.fill(Qt::black);
    QPainter(&border).fillRect(0, 0, 66, 4, QColor(220, 200, 40));
    border.save(dir.filePath("border.bmp"));

    dv::ui::PictureSources sources;
    sources.back = folder + "back.bmp";
    sources.art = folder + "art.jpg";
    sources.border = folder + "border.bmp";
    sources.region = {400, 3600, 150, 2900, 1500, 2300, 1000, 1700};
    sources.nameColour = 200 | (100 << 8) | (40 << 16);

    std::vector<Times> times;
    for (int run = 0; run < runs; ++run) {
        dv::ui::CardPictureImages images;
        QElapsedTimer clock;
        clock.start();
        Times t;
        const QImage art = dv::ui::LoadPicture(sources.art);
        const QImage backPicture = dv::ui::LoadPicture(sources.back);
        const QImage borderPicture = dv::ui::LoadPicture(sources.border);
        t.load = clock.nsecsElapsed() / 1e6;
        if (!dv::ui::ComposeCardPicture(backPicture, art, borderPicture, sources.region,
                                        sources.nameColour, images)) {
            std::fprintf(stderr, "the art picture could not be read\n");
            return 1;
        }
        t.compose = clock.nsecsElapsed() / 1e6 - t.load;
        const std::string name = folder + "Card-Timing" + std::to_string(run);
        const bool saved = dv::ui::SaveImage(images, name + ".jpg").written &&
                           dv::ui::SaveMini(images, name + "-mini.jpg").written;
        t.total = clock.nsecsElapsed() / 1e6;
        t.save = t.total - t.load - t.compose;
        if (!saved) {
            std::fprintf(stderr, "the picture files could not be written\n");
            return 1;
        }
        times.push_back(t);
    }

    auto column = [&](double Times::*field) {
        std::vector<double> values;
        for (const Times& t : times)
            values.push_back(t.*field);
        return values;
    };
    std::printf("card picture from a %d x %d JPEG, %d runs (ms):\n", kArtWidth, kArtHeight, runs);
    std::printf("  %-28s %8s %8s %8s\n", "", "min", "median", "max");
    for (const auto& [label, field] :
         {std::pair{"read the three pictures", &Times::load},
          std::pair{"compose picture and thumbnail", &Times::compose},
          std::pair{"write both JPEG files", &Times::save}, std::pair{"total", &Times::total}}) {
        const std::vector<double> values = column(field);
        std::printf("  %-28s %8.1f %8.1f %8.1f\n", label,
                    *std::min_element(values.begin(), values.end()), Median(values),
                    *std::max_element(values.begin(), values.end()));
    }
    return 0;
}
