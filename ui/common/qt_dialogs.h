#pragma once
// The program's dialogs: Qt's message, input, file and colour dialogs behind the dialog seam.

#include <QPointer>
#include <QWidget>

#include "ui/common/dialogs.h"

namespace dv::ui {

class QtDialogs : public Dialogs {
  public:
    // Dialogs open over the active window, else over `fallbackParent`.
    void SetParent(QWidget* fallbackParent) { parent_ = fallbackParent; }

    void Message(const std::string& text, const std::string& title) override;
    std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
    bool YesNo(const std::string& question, const std::string& title) override;
    std::optional<std::string> OpenFile(const std::string& title, const std::string& folder,
                                        const std::string& filter) override;
    std::optional<std::string> SaveFile(const std::string& title, const std::string& folder,
                                        const std::string& suggestedName, const std::string& filter,
                                        const std::string& defaultExtension) override;
    std::optional<uint32_t> Colour(uint32_t initial) override;

  private:
    QWidget* Parent() const;
    QPointer<QWidget> parent_;
};

// Texts cross between the engine's 8-bit strings and Qt as UTF-8.
QString ToQt(const std::string& text);
std::string FromQt(const QString& text);

}  // namespace dv::ui
