#include "ui/designer/card_edit_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "engine/model/state.h"
#include "ui/common/dialogs.h"
#include "ui/common/engine_guard.h"
#include "ui/common/qt_dialogs.h"
#include "ui/common/qt_plain_text.h"
#include "ui/decks/deck_manager_window.h"
#include "ui/decks/designer_link.h"
#include "ui/designer/effect_picker_dialog.h"
#include "ui/designer/qt_card_pictures.h"

namespace dv::ui {
namespace {

constexpr const char* kTitle = "Duvenhall";
// The value box of a trait row, shrunk and enlarged, in pixels.
constexpr int kValueHeight = 26;
constexpr int kEnlargedValueHeight = 120;
constexpr int kValueWidth = 89;

QPointer<CardEditWindow> openEditor;

QString Indexed(const char* name, int i) {
    return QString("%1_%2").arg(name).arg(i);
}

void SetLine(QLineEdit* edit, const std::string& text) {
    const QString q = ToQt(text);
    if (edit->text() == q) return;  // keeps the cursor of the box being typed in
    const QSignalBlocker block(edit);
    edit->setText(q);
}

void SetPlain(QPlainTextEdit* edit, const std::string& text) {
    const QString q = ToQt(text);
    if (edit->toPlainText() == q) return;
    const QSignalBlocker block(edit);
    edit->setPlainText(q);
}

void SetCombo(QComboBox* combo, const ComboList& list) {
    const QSignalBlocker block(combo);
    QStringList entries;
    for (const std::string& entry : list.entries)
        entries << ToQt(entry);
    bool same = combo->count() == entries.size();
    for (int p = 0; same && p < entries.size(); ++p)
        same = combo->itemText(p) == entries[p];
    if (!same) {
        combo->clear();
        combo->addItems(entries);
    }
    combo->setCurrentIndex(list.selected);
    if (combo->isEditable() && combo->currentText() != ToQt(list.text))
        combo->setEditText(ToQt(list.text));
}

void SetScroll(QScrollBar* bar, int value) {
    const QSignalBlocker block(bar);
    bar->setValue(value);
}

QScrollBar* RowScroll(QWidget* parent, const char* name) {
    auto* bar = new QScrollBar(Qt::Vertical, parent);
    bar->setObjectName(name);
    bar->setRange(1, kLastTop);
    bar->setSingleStep(1);
    bar->setPageStep(kShownRows);
    return bar;
}

QComboBox* Combo(QWidget* parent, const QString& name, bool editable) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(editable);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(20);
    return combo;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption,
                    const char* tip = nullptr) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    if (tip) button->setToolTip(tip);
    return button;
}

}  // namespace

template <class Body>
void CardEditWindow::Command(const char* name, Body&& body) {
    EngineGuard guard;
    if (!guard) return;
    RunCommand(name, std::forward<Body>(body));
    if (!closing_) Redraw();
}

CardEditWindow::CardEditWindow(DesignerOpener opener, CardEditHooks hooks, QWidget* parent)
    : QMainWindow(parent), hooks_(std::move(hooks)), designer_(*this) {
    setObjectName("CardEdit");
    setWindowTitle("Card Designer");
    // One opened by the deck manager works on a single card: the designer the deck manager and
    // the test game hand back to stays the one from the menu.
    if (opener == DesignerOpener::MainMenu) openEditor = this;
    pictures_ = std::make_unique<QtCardPictures>(this, designer_.form.pictures,
                                                 [this] { designer_.form.Commit(); });
    connect(pictures_.get(), &QtCardPictures::composingStarted, this, [this] {
        mainPic_->setPixmap({});
        mainPic_->setText("Generating new image...");
    });
    connect(pictures_.get(), &QtCardPictures::picturesChanged, this, &CardEditWindow::DrawPictures);

    BuildMenus();
    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout(central);
    columns->addWidget(BuildPicturePanel(), 0, Qt::AlignTop);
    auto* form = new QVBoxLayout;
    form->addWidget(BuildCardFields());
    form->addWidget(BuildTraits());
    form->addWidget(BuildCaptions());
    form->addWidget(BuildActions());
    form->addWidget(BuildButtons());
    form->addStretch(1);
    columns->addLayout(form, 1);
    setCentralWidget(central);

    outputText_ = new QPlainTextEdit(central);
    outputText_->setObjectName("OutputText");
    outputText_->setReadOnly(true);
    outputText_->setToolTip("Right-click to close.");
    outputText_->hide();
    outputText_->viewport()->installEventFilter(this);

    DrawPictures();
    Command("Form_Load", [&] { designer_.Open(opener); });
}

CardEditWindow::~CardEditWindow() = default;

void CardEditWindow::BuildMenus() {
    auto action = [this](QMenu* menu, const char* name, const char* caption, auto slot) {
        QAction* item = menu->addAction(caption);
        item->setObjectName(name);
        connect(item, &QAction::triggered, this, slot);
        return item;
    };
    fileMenu_ = menuBar()->addMenu("File");
    fileMenu_->setObjectName("filemen");
    action(fileMenu_, "loaddeckmen", "Load Cards",
           [this] { Command("loaddeckmen_Click", [&] { designer_.LoadCards(); }); });
    action(fileMenu_, "addcardmen", "Add Cards from File",
           [this] { Command("addcardmen_Click", [&] { designer_.AddCardsFromFile(); }); });
    action(fileMenu_, "savedeckmen", "Save Cards",
           [this] { Command("savedeckmen_Click", [&] { designer_.SaveCards(); }); });
    action(fileMenu_, "savedeckasmen", "Save Cards As...",
           [this] { Command("savedeckasmen_Click", [&] { designer_.SaveCardsAs(); }); });

    QMenu* deck = menuBar()->addMenu("Deck Actions");
    deck->setObjectName("deckactionsmen");
    action(deck, "createoppmen", "Create Custom Enemy",
           [this] { Command("createoppmen_Click", [&] { designer_.CreateCustomEnemy(); }); });
    action(deck, "editenemymen", "Edit Existing Enemy",
           [this] { Command("editenemymen_Click", [&] { designer_.EditExistingEnemy(); }); });
    action(deck, "Cardstoremen", "Create Card Store",
           [this] { Command("Cardstoremen_Click", [&] { designer_.CreateCardStore(); }); });
    action(deck, "starterdeckmen", "Create Starter Deck Builder", [this] {
        Command("starterdeckmen_Click", [&] { designer_.CreateStarterDeckBuilder(); });
    });
    action(deck, "testcardsmen", "Test Cards",
           [this] { Command("testcardsmen_Click", [&] { designer_.TestCards(); }); });

    // The picture commands commit the form and change the card: the form is drawn afresh.
    auto picture = [this](const char* name, void (CardPictures::*command)()) {
        return [this, name, command] {
            Command(name, [&] {
                (pictures_->Commands().*command)();
                designer_.form.UpdateCard();
            });
        };
    };
    QMenu* graphic = menuBar()->addMenu("Graphic");
    graphic->setObjectName("graphicmen");
    action(graphic, "loadgraphicmen", "Load Existing Card Image",
           picture("loadgraphicmen_Click", &CardPictures::LoadExistingCardImage));
    action(graphic, "loadformen", "Load new Foreground Image",
           picture("MainPic_Click", &CardPictures::MainPicClick));
    action(graphic, "loadbackmen", "Load new Background Image",
           picture("loadbackmen_Click", &CardPictures::LoadBackgroundImage));
    action(graphic, "loadminimen", "Load new Thumbnail Border Image",
           picture("loadminimen_Click", &CardPictures::LoadThumbnailBorderImage));
    action(graphic, "saveimagemen", "Save Card Image As...",
           picture("saveimagemen_Click", &CardPictures::SaveCardImageAs));

    auto top = [this](const char* name, const char* caption, auto slot) {
        QAction* item = menuBar()->addAction(caption);
        item->setObjectName(name);
        connect(item, &QAction::triggered, this, slot);
    };
    top("gencardtextmen", "Generate Card Text",
        [this] { Command("gencardtextmen_Click", [&] { designer_.GenerateCardText(); }); });
    top("errorcheckmen", "Error Check Action Scripts",
        [this] { Command("errorcheckmen_Click", [&] { designer_.ErrorCheck(); }); });
    top("helpmen", "Help", [this] { Command("helpmen_Click", [&] { designer_.Help(); }); });
}

QWidget* CardEditWindow::BuildPicturePanel() {
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    mainPic_ = new QLabel(panel);
    mainPic_->setObjectName("MainPic");
    mainPic_->setFixedSize(300, 450);
    mainPic_->setAlignment(Qt::AlignCenter);
    mainPic_->setToolTip(kMainPicTip);
    mainPic_->installEventFilter(this);
    column->addWidget(mainPic_);

    auto* row = new QHBoxLayout;
    miniPic_ = new QLabel(panel);
    miniPic_->setObjectName("MiniPic");
    miniPic_->setFixedSize(65, 65);
    row->addWidget(miniPic_);
    auto* random = Button(panel, "Command3", "Random Pic");
    connect(random, &QPushButton::clicked, this,
            [this] { Command("Command3_Click", [&] { pictures_->Commands().RandomPic(); }); });
    random->hide();  // offered by no operation of the window
    row->addWidget(random);
    row->addWidget(HelpButton(3));
    column->addLayout(row);

    colorLabel_ = new QLabel("Card Name Color (Click to change)", panel);
    colorLabel_->setObjectName("ColorLabel");
    colorLabel_->setAutoFillBackground(true);
    colorLabel_->installEventFilter(this);
    column->addWidget(colorLabel_);
    return panel;
}

QPushButton* CardEditWindow::HelpButton(int index) {
    auto* button = Button(this, "", "?");
    button->setObjectName(Indexed("Command1", index));
    button->setFixedWidth(28);
    connect(button, &QPushButton::clicked, this,
            [this, index] { Command("Command1_Click", [&] { designer_.ShowHelpText(index); }); });
    return button;
}

QWidget* CardEditWindow::BuildCardFields() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    const std::array<const char*, 3> labels = {"Name", "Cost", "Unique ID"};
    for (int f = 0; f < 3; ++f) {
        grid->addWidget(new QLabel(labels[static_cast<std::size_t>(f)], box), 0, 2 * f);
        auto* edit = new QLineEdit(box);
        edit->setObjectName(Indexed("CardText", f));
        cardText_[static_cast<std::size_t>(f)] = edit;
        grid->addWidget(edit, 0, 2 * f + 1);
        connect(edit, &QLineEdit::textEdited, this, [this, f](const QString& text) {
            Command("CardText_Change", [&] { designer_.form.OnCardText(f, FromQt(text)); });
        });
    }

    grid->addWidget(new QLabel("Enters Play During:", box), 1, 0);
    activateCombo_ = Combo(box, "ActivateCombo", true);
    grid->addWidget(activateCombo_, 1, 1);
    connect(activateCombo_, &QComboBox::activated, this, [this] {
        Command("ActivateCombo_Click",
                [&] { designer_.form.OnStartTime(FromQt(activateCombo_->currentText())); });
    });
    connect(activateCombo_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        Command("ActivateCombo_Change", [&] { designer_.form.OnStartTime(FromQt(text)); });
    });
    rarityLabel_ = new QLabel("Rarity", box);
    rarityLabel_->setObjectName("Label8_1");
    grid->addWidget(rarityLabel_, 1, 2);
    rarityCombo_ = Combo(box, "RarityCombo", false);
    rarityCombo_->setToolTip(kRarityHint);
    grid->addWidget(rarityCombo_, 1, 3);
    connect(rarityCombo_, &QComboBox::activated, this, [this](int position) {
        Command("RarityCombo_Click", [&] { designer_.form.OnRarityClick(position); });
    });
    cardCombo_ = Combo(box, "CardCombo", false);
    grid->addWidget(cardCombo_, 1, 4);
    connect(cardCombo_, &QComboBox::activated, this, [this](int position) {
        Command("CardCombo_Click", [&] {
            designer_.form.controls.CardCombo.Select(position);
            designer_.form.CardComboClick(position);
        });
    });
    cardTotal_ = NewPlainLabel(box);
    cardTotal_->setObjectName("cardtotal");
    grid->addWidget(cardTotal_, 1, 5);

    grid->addWidget(new QLabel("Description", box), 2, 0);
    descText_ = new QPlainTextEdit(box);
    descText_->setObjectName("DescText");
    descText_->setFixedHeight(60);
    grid->addWidget(descText_, 2, 1, 1, 4);
    grid->addWidget(HelpButton(4), 2, 5, Qt::AlignTop);
    connect(descText_, &QPlainTextEdit::textChanged, this, [this] {
        Command("DescText_Change",
                [&] { designer_.form.OnDescText(FromQt(descText_->toPlainText())); });
    });
    return box;
}

QGroupBox* CardEditWindow::BuildTraits() {
    auto* frame = new QGroupBox("Card Traits", this);
    frame->setObjectName("TraitFrame");
    auto* grid = new QGridLayout(frame);
    for (int i = 0; i < kShownRows; ++i) {
        const auto k = static_cast<std::size_t>(i);
        traitText_[k] = new QLineEdit(frame);
        traitText_[k]->setObjectName(Indexed("TraitText", i));
        valueText_[k] = new QPlainTextEdit(frame);
        valueText_[k]->setObjectName(Indexed("ValueText", i));
        valueText_[k]->setFixedHeight(kValueHeight);
        valueText_[k]->setMinimumWidth(kValueWidth);
        valueText_[k]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        expandButton_[k] = Button(frame, "", ">");
        expandButton_[k]->setObjectName(Indexed("ExpandButton", i));
        expandButton_[k]->setFixedWidth(24);
        traitCombo_[k] = Combo(frame, Indexed("TraitCombo", i), false);
        grid->addWidget(traitText_[k], i, 0, Qt::AlignTop);
        grid->addWidget(valueText_[k], i, 1, Qt::AlignTop);
        grid->addWidget(expandButton_[k], i, 2, Qt::AlignTop);
        grid->addWidget(traitCombo_[k], i, 3, Qt::AlignTop);
        connect(traitText_[k], &QLineEdit::textEdited, this, [this, i](const QString& text) {
            Command("TraitText_Change", [&] { designer_.form.OnTraitText(i, FromQt(text)); });
        });
        connect(valueText_[k], &QPlainTextEdit::textChanged, this, [this, i, k] {
            Command("ValueText_Change",
                    [&] { designer_.form.OnValueText(i, FromQt(valueText_[k]->toPlainText())); });
        });
        connect(expandButton_[k], &QPushButton::clicked, this, [this, i] { ToggleExpand(i); });
        connect(traitCombo_[k], &QComboBox::activated, this, [this, i](int position) {
            Command("TraitCombo_Click", [&] { designer_.form.OnTraitComboClick(i, position); });
        });
    }
    grid->setColumnStretch(1, 1);
    traitScroll_ = RowScroll(frame, "TraitScroll");
    grid->addWidget(traitScroll_, 0, 4, kShownRows, 1);
    grid->addWidget(HelpButton(0), 0, 5, Qt::AlignTop);
    connect(traitScroll_, &QScrollBar::valueChanged, this, [this](int value) {
        Command("TraitScroll_Change", [&] { designer_.form.OnTraitScroll(value); });
    });
    return frame;
}

QGroupBox* CardEditWindow::BuildCaptions() {
    auto* frame = new QGroupBox("Trait Action Captions", this);
    frame->setObjectName("TraitDescFrame");
    auto* grid = new QGridLayout(frame);
    for (int i = 0; i < kShownRows; ++i) {
        const auto k = static_cast<std::size_t>(i);
        traitDescName_[k] = new QLineEdit(frame);
        traitDescName_[k]->setObjectName(Indexed("TraitDescName", i));
        traitDescText_[k] = new QLineEdit(frame);
        traitDescText_[k]->setObjectName(Indexed("TraitDescText", i));
        grid->addWidget(traitDescName_[k], i, 0);
        grid->addWidget(traitDescText_[k], i, 1);
        connect(traitDescName_[k], &QLineEdit::textEdited, this, [this, i](const QString& text) {
            Command("TraitDescName_Click",
                    [&] { designer_.form.OnTraitDescName(i, FromQt(text)); });
        });
        connect(traitDescText_[k], &QLineEdit::textEdited, this, [this, i](const QString& text) {
            Command("TraitDescText_Change",
                    [&] { designer_.form.OnTraitDescText(i, FromQt(text)); });
        });
    }
    grid->setColumnStretch(1, 1);
    traitDescScroll_ = RowScroll(frame, "TraitDescScroll");
    grid->addWidget(traitDescScroll_, 0, 2, kShownRows, 1);
    grid->addWidget(HelpButton(2), 0, 3, Qt::AlignTop);
    connect(traitDescScroll_, &QScrollBar::valueChanged, this, [this](int value) {
        Command("TraitDescScroll_Change", [&] { designer_.form.OnTraitDescScroll(value); });
    });
    return frame;
}

QGroupBox* CardEditWindow::BuildActions() {
    actionFrame_ = new QGroupBox("Card Actions and Effects", this);
    actionFrame_->setObjectName("CardActionFrame");
    auto* grid = new QGridLayout(actionFrame_);
    for (int i = 0; i < kShownRows; ++i) {
        const auto k = static_cast<std::size_t>(i);
        triggerCombo_[k] = Combo(actionFrame_, Indexed("TriggerCombo", i), true);
        targetCombo_[k] = Combo(actionFrame_, Indexed("TargetCombo", i), false);
        targetCombo_[k]->setToolTip(
            "Use this menu to determine which cards this action will target.");
        effText_[k] = new QLineEdit(actionFrame_);
        effText_[k]->setObjectName(Indexed("EffText", i));
        auto* add =
            Button(actionFrame_, "", "Add Effect", "Click here to add an effect to this action.");
        add->setObjectName(Indexed("EffButton", i));
        grid->addWidget(triggerCombo_[k], i, 0);
        grid->addWidget(targetCombo_[k], i, 1);
        grid->addWidget(effText_[k], i, 2);
        grid->addWidget(add, i, 3);
        connect(triggerCombo_[k], &QComboBox::activated, this, [this, i](int position) {
            Command("TriggerCombo_Click", [&] { designer_.form.OnTriggerClick(i, position); });
        });
        connect(triggerCombo_[k]->lineEdit(), &QLineEdit::textEdited, this,
                [this, i](const QString& text) {
                    Command("TriggerCombo_Change",
                            [&] { designer_.form.OnTriggerTyped(i, FromQt(text)); });
                });
        connect(targetCombo_[k], &QComboBox::activated, this, [this, i](int position) {
            Command("TargetCombo_Click", [&] { designer_.TargetClick(i, position); });
        });
        connect(effText_[k], &QLineEdit::textEdited, this, [this, i](const QString& text) {
            Command("EffText_Change", [&] { designer_.form.OnEffText(i, FromQt(text)); });
        });
        connect(add, &QPushButton::clicked, this,
                [this, i] { Command("EffButton_Click", [&] { designer_.AddEffectToRow(i); }); });
    }
    grid->setColumnStretch(2, 1);
    effScroll_ = RowScroll(actionFrame_, "EffScroll");
    grid->addWidget(effScroll_, 0, 4, kShownRows, 1);
    grid->addWidget(HelpButton(1), 0, 5, Qt::AlignTop);
    connect(effScroll_, &QScrollBar::valueChanged, this, [this](int value) {
        Command("EffScroll_Change", [&] { designer_.form.OnEffScroll(value); });
    });
    return actionFrame_;
}

QWidget* CardEditWindow::BuildButtons() {
    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    buttonFrame_ = new QWidget(panel);
    buttonFrame_->setObjectName("ButtonFrame");
    auto* buttons = new QGridLayout(buttonFrame_);
    buttons->setContentsMargins(0, 0, 0, 0);
    auto add = [&](const char* name, const char* caption, const char* tip, int r, int c,
                   auto slot) {
        QPushButton* button = Button(buttonFrame_, name, caption, tip);
        buttons->addWidget(button, r, c);
        connect(button, &QPushButton::clicked, this, slot);
        return button;
    };
    add("Command2_1", "Duplicate Card", "Make an exact duplicate of the current card.", 0, 0,
        [this] { Command("Command2_Click", [&] { designer_.DuplicateCard(); }); });
    add("Command2_2", "New Card from Template",
        "This will create a new card based on an existing template.", 0, 1,
        [this] { Command("Command2_Click", [&] { designer_.NewCardFromTemplate(); }); });
    templateCombo_ = Combo(buttonFrame_, "TemplateCombo", false);
    templateCombo_->setToolTip("Use this menu to choose which template to base a new card on.");
    buttons->addWidget(templateCombo_, 0, 2);
    connect(templateCombo_, &QComboBox::activated, this, [this](int position) {
        Command("TemplateCombo_Click",
                [&] { designer_.form.controls.TemplateCombo.Select(position); });
    });
    add("Command5", "Save As Template",
        "Templates contain information about a card type.  Click this button to turn the current "
        "card into a new template for future use.",
        0, 3, [this] { Command("Command5_Click", [&] { designer_.SaveAsTemplate(); }); });
    add("Command4", "Delete",
        "Delete the current card from the database.  (Warning: Not Undoable!)", 1, 0,
        [this] { Command("Command4_Click", [&] { designer_.DeleteCard(); }); });
    add("Command6", "Save Card", "Save your changes to the current card.", 1, 1,
        [this] { Command("Command6_Click", [&] { designer_.SaveCard(); }); });
    add("viewcardsbutton", "View Cards", nullptr, 1, 3,
        [this] { Command("viewcardsbutton_Click", [&] { designer_.ViewCards(); }); });
    row->addWidget(buttonFrame_);

    costButton_ = Button(panel, "CostButton", "Calculate Cost",
                         "Click here to have the editor calculate a cost for this card using the "
                         "game's rules.");
    connect(costButton_, &QPushButton::clicked, this,
            [this] { Command("CostButton_Click", [&] { designer_.CalculateCost(); }); });
    row->addWidget(costButton_);
    row->addStretch(1);
    return panel;
}

void CardEditWindow::ToggleExpand(int i) {
    const auto k = static_cast<std::size_t>(i);
    QPlainTextEdit* value = valueText_[k];
    if (value->height() == kEnlargedValueHeight) {
        value->setFixedHeight(kValueHeight);
        value->setMinimumWidth(kValueWidth);
        expandButton_[k]->setText(">");
    } else {
        value->setFixedHeight(kEnlargedValueHeight);
        value->setMinimumWidth(width() - value->mapTo(this, QPoint(0, 0)).x() -
                               expandButton_[k]->width() - traitCombo_[k]->width());
        expandButton_[k]->setText("<");
    }
}

void CardEditWindow::Redraw() {
    const FormControls& c = designer_.form.controls;
    for (std::size_t k = 0; k < kShownRows; ++k) {
        SetLine(traitText_[k], c.TraitText[k]);
        SetPlain(valueText_[k], c.ValueText[k]);
        SetCombo(traitCombo_[k], c.TraitCombo[k]);
        SetLine(traitDescName_[k], c.TraitDescName[k]);
        SetLine(traitDescText_[k], c.TraitDescText[k]);
        SetCombo(triggerCombo_[k], c.TriggerCombo[k]);
        SetCombo(targetCombo_[k], c.TargetCombo[k]);
        SetLine(effText_[k], c.EffText[k]);
        traitText_[k]->setReadOnly(c.DeckManagerEdit);
        valueText_[k]->setReadOnly(c.DeckManagerEdit);
    }
    for (std::size_t f = 0; f < cardText_.size(); ++f)
        SetLine(cardText_[f], c.CardText[f]);
    SetPlain(descText_, c.DescText);
    SetCombo(activateCombo_, c.ActivateCombo);
    SetCombo(rarityCombo_, c.RarityCombo);
    SetCombo(cardCombo_, c.CardCombo);
    SetCombo(templateCombo_, c.TemplateCombo);
    SetScroll(traitScroll_, c.TraitScroll);
    SetScroll(traitDescScroll_, c.TraitDescScroll);
    SetScroll(effScroll_, c.EffScroll);
    cardTotal_->setText(ToQt(c.CardTotal));

    const bool whole = !c.DeckManagerEdit;
    fileMenu_->menuAction()->setVisible(whole);
    rarityLabel_->setVisible(whole);
    rarityCombo_->setVisible(whole);
    actionFrame_->setVisible(whole);
    buttonFrame_->setVisible(whole);
    cardCombo_->setVisible(whole);
    costButton_->setVisible(whole && c.CostButtonVisible);

    QPalette palette = colorLabel_->palette();
    palette.setColor(QPalette::WindowText, QColor(c.NameColour & 0xFF, (c.NameColour >> 8) & 0xFF,
                                                  (c.NameColour >> 16) & 0xFF));
    palette.setColor(QPalette::Window, Qt::black);
    colorLabel_->setPalette(palette);

    SetPlain(outputText_, c.OutputText);
    if (c.OutputVisible) {
        outputText_->setGeometry(centralWidget()->rect().adjusted(320, 0, 0, 0));
        outputText_->raise();
    }
    outputText_->setVisible(c.OutputVisible);
}

void CardEditWindow::DrawPictures() {
    const CardPictureImages& images = pictures_->Images();
    // A saved picture of another size is shown whole in the box.
    auto fitted = [](const QImage& image, const QSize& box) {
        QPixmap pixmap = QPixmap::fromImage(image);
        if (!pixmap.isNull() && pixmap.size() != box)
            pixmap = pixmap.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return pixmap;
    };
    mainPic_->setText({});
    mainPic_->setPixmap(fitted(images.MainPic, mainPic_->size()));
    miniPic_->setPixmap(fitted(images.MiniPic, miniPic_->size()));
}

void CardEditWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (activated_) return;
    activated_ = true;
    Command("Form_Activate", [&] { designer_.Activate(); });
}

void CardEditWindow::ComeBack() {
    // A hand-back is part of the command of the window that hands back.
    const ModalScope handBack;
    show();
    raise();
    activateWindow();
    Command("Form_Activate", [&] { designer_.ComeBack(); });
}

void CardEditWindow::ShowCardOfList(int slot) {
    const ModalScope handBack;
    show();
    raise();
    activateWindow();
    Command("CardCombo_Click", [&] { designer_.ShowCardOfList(slot); });
}

bool CardEditWindow::LetProgramEnd() {
    // Closing, the designer has had its answer already.
    if (closing_ || endAgreed_) return true;
    bool mayEnd = false;
    RunCommand("Form_QueryUnload", [&] { mayEnd = designer_.LetProgramEnd(); });
    if (!mayEnd) {
        if (isVisible()) Redraw();
        return false;
    }
    endAgreed_ = true;
    return true;
}

void CardEditWindow::closeEvent(QCloseEvent* event) {
    if (closing_) return;
    closing_ = true;
    bool close = true;
    // Once the author let the program end, the cards have been asked about: no new game either.
    if (!endAgreed_) RunCommand("Form_QueryUnload", [&] { close = designer_.Close(); });
    if (!close) {
        // The author's save did not happen: the window stays open with the cards.
        closing_ = false;
        event->ignore();
        Redraw();
        return;
    }
    event->accept();
    if (openEditor == this) openEditor = nullptr;
    emit closed();
}

bool CardEditWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == mainPic_ && mouse->button() == Qt::LeftButton) {
            Command("MainPic_Click", [&] {
                pictures_->Commands().MainPicClick();
                designer_.form.UpdateCard();
            });
            return true;
        }
        if (watched == colorLabel_ && mouse->button() == Qt::LeftButton) {
            Command("ColorLabel_Click", [&] {
                pictures_->Commands().ChooseNameColour();
                designer_.form.UpdateCard();
            });
            return true;
        }
        if (watched == outputText_->viewport() && mouse->button() == Qt::RightButton) {
            Command("OutputText_MouseUp", [&] { designer_.form.HideOutput(); });
            return true;
        }
    }
    if (event->type() == QEvent::ContextMenu && watched == outputText_->viewport()) return true;
    return QMainWindow::eventFilter(watched, event);
}

void CardEditWindow::EditEnemyDeck() {
    RunOpponentDeckManager(this);
}

void CardEditWindow::ShowDeckManagerFor(int mode) {
    hide();
    if (mode == kCardTest)
        OpenCardTestDeckManager(this);
    else
        OpenCardViewDeckManager(this);
}

void CardEditWindow::UpdatePic(int mode) {
    pictures_->Commands().UpdatePic(mode);
}

bool CardEditWindow::StorePictureFiles(const std::string& pictureName,
                                       const std::string& thumbnailName, Card& stored) {
    return pictures_->Commands().StorePictureFiles(pictureName, thumbnailName, stored);
}

void CardEditWindow::UnloadPicPick() {
    pictures_->ClosePicker();
}

std::string CardEditWindow::PickEffect() {
    return ui::PickEffect(this);
}

void CardEditWindow::ShowMainWindow() {
    if (hooks_.showMainWindow)
        hooks_.showMainWindow();
    else
        TheHost().Call(WindowCall::ShowMainWindow, "");
}

CardEditWindow* TheCardEditor() {
    return openEditor.data();
}

bool CardEditorLetsProgramEnd() {
    CardEditWindow* open = TheCardEditor();
    return !open || open->LetProgramEnd();
}

CardEditWindow* OpenCardEditor(CardEditHooks hooks) {
    auto* window = new CardEditWindow(DesignerOpener::MainMenu, std::move(hooks));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

void ShowCardEditor(CardEditHooks hooks) {
    if (CardEditWindow* open = TheCardEditor())
        open->ComeBack();
    else
        OpenCardEditor(std::move(hooks));
}

void EditCollectionCard(QWidget* parent) {
    auto* window = new CardEditWindow(DesignerOpener::DeckManager, {}, parent);
    window->setWindowFlag(Qt::Window);
    window->setWindowModality(Qt::ApplicationModal);
    window->setAttribute(Qt::WA_DeleteOnClose);
    const ModalScope modal;
    QEventLoop loop;
    QObject::connect(window, &CardEditWindow::closed, &loop, &QEventLoop::quit);
    window->show();
    loop.exec();
}

namespace {

class WindowDesignerLink : public DesignerLink {
  public:
    void ShowCard(int index) override {
        if (CardEditWindow* designer = TheCardEditor()) designer->ShowCardOfList(index);
    }
    void EditCurrentCard() override { EditCollectionCard(QApplication::activeWindow()); }
};

WindowDesignerLink designerLink;

}  // namespace

void InstallDesignerLink() {
    SetDesignerLink(&designerLink);
}

}  // namespace dv::ui
