#include "ui/designer/pic_pick_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStorageInfo>
#include <QToolButton>
#include <QVBoxLayout>

#include "engine/model/state.h"
#include "ui/common/engine_guard.h"
#include "ui/common/qt_dialogs.h"
#include "ui/common/qt_plain_text.h"

namespace dv::ui {
namespace {

constexpr int kColumns = 5;
const QSize kThumbnailIcon(96, 72);
constexpr int kCellWidth = 108;

std::string StartFolder() {
    const auto& st = St();
    if (!st.CurrentFolder.empty()) return st.CurrentFolder.string();
    if (!st.ProgramFolder.empty()) return st.ProgramFolder.string();
    return FromQt(QDir::currentPath());
}

// A small picture of a file, read at about the size shown; null when it cannot be read.
QImage ThumbnailOf(const QString& path) {
    QImageReader reader(path);
    QSize size = reader.size();
    if (size.isValid()) {
        size.scale(kThumbnailIcon, Qt::KeepAspectRatio);
        reader.setScaledSize(size.expandedTo(QSize(1, 1)));
    }
    const QImage image = reader.read();
    if (image.isNull() || size.isValid()) return image;
    return image.scaled(kThumbnailIcon, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

PicPickDialog::PicPickDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("PicPick");
    setWindowTitle("Picture Viewer");
    setModal(true);

    drives_ = new QComboBox;
    drives_->setObjectName("Drive1");
    folderLabel_ = NewPlainLabel(nullptr);
    folderLabel_->setObjectName("DirLabel");
    folderLabel_->setWordWrap(true);
    folders_ = new QListWidget;
    folders_->setObjectName("Dirbox");
    random_ = new QPushButton("Random Image");
    random_->setObjectName("Command1");
    auto* browse = new QVBoxLayout;
    browse->addWidget(drives_);
    browse->addWidget(folderLabel_);
    browse->addWidget(folders_, 1);
    browse->addWidget(random_);

    auto* grid = new QWidget;
    auto* cells = new QGridLayout(grid);
    for (int i = 0; i < kPickerThumbnails; ++i) {
        auto* button = new QToolButton;
        button->setObjectName(QString("Image1_%1").arg(i));
        button->setIconSize(kThumbnailIcon);
        button->setFixedSize(kCellWidth, kThumbnailIcon.height() + 8);
        button->setAutoRaise(true);
        QLabel* name = NewPlainLabel(nullptr);
        name->setObjectName(QString("PicNameLabel_%1").arg(i));
        name->setFixedWidth(kCellWidth);
        name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        auto* cell = new QVBoxLayout;
        cell->addWidget(button);
        cell->addWidget(name);
        cells->addLayout(cell, i / kColumns, i % kColumns);
        thumbnails_[i] = button;
        names_[i] = name;
        connect(button, &QToolButton::clicked, this, [this, i] { ThumbnailClicked(i); });
    }
    preview_ = new QLabel;
    preview_->setObjectName("Image2");
    preview_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    preview_->installEventFilter(this);
    auto* previewPage = new QWidget;
    auto* previewLayout = new QVBoxLayout(previewPage);
    previewLayout->addWidget(preview_, 0, Qt::AlignLeft | Qt::AlignTop);
    previewLayout->addStretch(1);
    pages_ = new QStackedWidget;
    pages_->addWidget(grid);
    pages_->addWidget(previewPage);

    scroll_ = new QScrollBar(Qt::Vertical);
    scroll_->setObjectName("VScroll1");
    scroll_->setSingleStep(1);
    scroll_->setPageStep(kPickerThumbnails);
    prompt_ = NewPlainLabel(nullptr);
    prompt_->setObjectName("Label1");

    auto* middle = new QHBoxLayout;
    middle->addLayout(browse);
    middle->addWidget(pages_, 1);
    middle->addWidget(scroll_);
    auto* whole = new QVBoxLayout(this);
    whole->addWidget(prompt_);
    whole->addLayout(middle, 1);

    connect(drives_, &QComboBox::activated, this, [this](int index) {
        RunCommand("Drive1_Change",
                   [&] { ShowFolder(FromQt(drives_->itemData(index).toString())); });
    });
    connect(folders_, &QListWidget::itemActivated, this, &PicPickDialog::FolderActivated);
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int value) {
        RunCommand("VScroll1_Change", [&] {
            if (picker_.Scroll(value)) DrawPage();
        });
    });
    connect(random_, &QPushButton::clicked, this, [this] {
        RunCommand("Command1_Click", [&] { scroll_->setValue(picker_.RandomPage()); });
    });

    BuildDrives();
    ShowFolder(StartFolder());
}

std::optional<std::string> PicPickDialog::Pick(const std::string& prompt, bool regionMode,
                                               PicRegion& region) {
    Prepare(prompt, regionMode);
    exec();
    return Choice(region);
}

void PicPickDialog::Prepare(const std::string& prompt, bool regionMode) {
    prompt_->setText(ToQt(prompt));
    regionMode_ = regionMode;
    completed_ = false;
    region_ = {};
    zoom_ = 1;
    picker_.ForgetChoice();
    pages_->setCurrentIndex(0);
}

std::optional<std::string> PicPickDialog::Choice(PicRegion& region) const {
    if (!completed_ || picker_.PicName().empty()) return std::nullopt;
    if (regionMode_) region = region_;
    return picker_.PicName();
}

void PicPickDialog::ShowFolder(const std::string& folder) {
    picker_.ShowFolder(folder);
    DrawFolders();
    SyncScroll();
    DrawPage();
}

void PicPickDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    RunCommand("Form_Activate", [&] {
        picker_.Relist();
        DrawFolders();
        SyncScroll();
        DrawPage();
    });
}

bool PicPickDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == preview_ && event->type() == QEvent::MouseButtonRelease) {
        PreviewReleased(static_cast<QMouseEvent*>(event)->position());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PicPickDialog::reject() {
    pages_->setCurrentIndex(0);
    completed_ = false;
    QDialog::reject();
}

void PicPickDialog::BuildDrives() {
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            drives_->addItem(volume.rootPath(), volume.rootPath());
}

void PicPickDialog::DrawFolders() {
    const QDir folder(ToQt(picker_.Folder()));
    folderLabel_->setText(QDir::toNativeSeparators(folder.absolutePath()));
    folders_->clear();
    QDir parent = folder;
    if (parent.cdUp() && parent.absolutePath() != folder.absolutePath()) {
        auto* up = new QListWidgetItem("..", folders_);
        up->setData(Qt::UserRole, parent.absolutePath());
    }
    for (const QFileInfo& child :
         folder.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(child.fileName(), folders_);
        item->setData(Qt::UserRole, child.absoluteFilePath());
    }
    // The volume that holds the folder is the one shown in the volume list.
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < drives_->count(); ++i) {
        const QString root = drives_->itemData(i).toString();
        if (folder.absolutePath().startsWith(root) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    const QSignalBlocker quiet(drives_);
    drives_->setCurrentIndex(best);
}

void PicPickDialog::SyncScroll() {
    const QSignalBlocker quiet(scroll_);
    scroll_->setRange(1, picker_.ScrollMax());
    scroll_->setValue(picker_.ScrollValue());
}

void PicPickDialog::DrawPage() {
    const auto page = picker_.Page();
    for (int i = 0; i < kPickerThumbnails; ++i) {
        const ThumbnailSlot& slot = page[i];
        thumbnails_[i]->setVisible(slot.visible);
        names_[i]->setVisible(slot.visible);
        if (!slot.visible) continue;
        const QString name = ToQt(slot.name);
        names_[i]->setText(names_[i]->fontMetrics().elidedText(name, Qt::ElideMiddle, kCellWidth));
        names_[i]->setToolTip(PlainTip(name));
        // A picture that cannot be read shows none: the one the slot showed before belongs to
        // another file.
        const QImage small = ThumbnailOf(ToQt(slot.path));
        thumbnails_[i]->setIcon(small.isNull() ? QIcon() : QIcon(QPixmap::fromImage(small)));
    }
}

void PicPickDialog::ThumbnailClicked(int index) {
    RunCommand("Image1_Click", [&] {
        if (!picker_.Choose(index)) return;
        if (!regionMode_) {
            completed_ = true;
            accept();
            return;
        }
        const QImage picture = QImageReader(ToQt(picker_.PicName())).read();
        if (picture.isNull()) {
            prompt_->setText("\"" + ToQt(picker_.PicName()) + "\" cannot be read as a picture.");
            picker_.ForgetChoice();
            return;
        }
        zoom_ = PreviewZoom(picture.width(), picture.height());
        const QSize shown(std::max(1L, RoundHalfEven(picture.width() * zoom_)),
                          std::max(1L, RoundHalfEven(picture.height() * zoom_)));
        preview_->setPixmap(QPixmap::fromImage(
            zoom_ == 1 ? picture
                       : picture.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
        preview_->setFixedSize(shown);
        pages_->setCurrentIndex(1);
        prompt_->setText(kFirstCornerPrompt);
    });
}

void PicPickDialog::PreviewReleased(QPointF position) {
    RunCommand("Image2_MouseUp", [&] {
        const CornerStep step =
            TakeCorner(region_, PictureClickAt(position.x(), position.y(), zoom_));
        if (!step.taken) return;
        if (!step.finished) {
            prompt_->setText(ToQt(step.prompt));
            return;
        }
        pages_->setCurrentIndex(0);
        completed_ = true;
        accept();
    });
}

void PicPickDialog::FolderActivated(QListWidgetItem* item) {
    RunCommand("Dirbox_Change", [&] { ShowFolder(FromQt(item->data(Qt::UserRole).toString())); });
}

}  // namespace dv::ui
