#pragma once
// The picture picker "Picture Viewer": the picture files of a folder as pages of twenty
// thumbnails with their names, the mounted volumes and the folders to browse, a page scroll and a
// random page. A thumbnail click chooses its file; in region mode the chosen picture is then shown
// enlarged and four clicks on it set the corners of the card and thumbnail regions.

#include <QDialog>
#include <QImage>
#include <array>
#include <optional>
#include <string>

#include "ui/designer/picture_picker.h"
#include "ui/designer/picture_region.h"

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QScrollBar;
class QStackedWidget;
class QToolButton;

namespace dv::ui {

class PicPickDialog : public QDialog {
    Q_OBJECT

  public:
    explicit PicPickDialog(QWidget* parent = nullptr);

    // Shows the picker modally with `prompt` in its prompt line; the chosen file's full path, or
    // nullopt when the picker was closed first. In region mode `region` takes the four corners.
    std::optional<std::string> Pick(const std::string& prompt, bool regionMode, PicRegion& region);

    // The parts of Pick, for a caller that shows the window itself: Prepare, show, and once the
    // window has closed, Choice.
    void Prepare(const std::string& prompt, bool regionMode);
    std::optional<std::string> Choice(PicRegion& region) const;

    std::string Folder() const { return picker_.Folder(); }
    void ShowFolder(const std::string& folder);
    const PicturePicker& Picker() const { return picker_; }
    // The zoom of the enlarged picture shown for the region clicks.
    double Zoom() const { return zoom_; }

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  public slots:
    void reject() override;

  private:
    void BuildDrives();
    void DrawFolders();
    void DrawPage();
    void SyncScroll();
    void ThumbnailClicked(int index);
    void PreviewReleased(QPointF position);
    void FolderActivated(QListWidgetItem* item);

    PicturePicker picker_;
    bool regionMode_ = false;
    bool completed_ = false;
    PicRegion region_;
    double zoom_ = 1;

    QComboBox* drives_;
    QLabel* folderLabel_;
    QListWidget* folders_;
    QStackedWidget* pages_;
    std::array<QToolButton*, kPickerThumbnails> thumbnails_{};
    std::array<QLabel*, kPickerThumbnails> names_{};
    QScrollBar* scroll_;
    QPushButton* random_;
    QLabel* preview_;
    QLabel* prompt_;
};

}  // namespace dv::ui
