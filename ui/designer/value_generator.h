#pragma once
// The value generator's logic: buttons that append ready-made tokens of a value expression to a
// text the author may also type in, and the choice of which cards a count covers.

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dv::ui {

struct GeneratorButton {
    int index;  // the button's number: 0 to 3 and 10 to 17
    std::string_view caption;
    std::string_view questionA;  // empty: none
    std::string_view questionB;  // empty: none
    // The piece is `before`, answer a, `between`, answer b, then "/" and the scope when asked.
    std::string_view before;
    std::string_view between;
    bool asksScope;
};

struct ScopeButton {
    std::string_view caption;
    std::string_view word;
};

const std::vector<GeneratorButton>& GeneratorButtons();
// The scope window's buttons, indexes 0 to 4.
const std::vector<ScopeButton>& ScopeButtons();
// The scope word of a scope button; "" for no such button.
std::string TraitScopeWord(int index);

// Shows the scope window and gives back the word chosen; "" when it closed without a choice.
using ScopeChooser = std::function<std::string()>;

class ValueGenerator {
  public:
    explicit ValueGenerator(std::string question) : question_(std::move(question)) {}

    const std::string& Question() const { return question_; }
    const std::string& Text() const { return text_; }
    // The text as the author left it in the box, typing included.
    void SetText(std::string text) { text_ = std::move(text); }

    // Appends the piece of button `index`, asking its questions in input boxes and, for the
    // counts, the scope through `chooseScope`. False when there is no such button.
    bool Press(int index, const ScopeChooser& chooseScope);
    // "DONE": the text becomes the result, unchanged.
    void Done() { result_ = text_; }
    // The text handed back: "" unless the generator closed with "DONE".
    const std::string& Result() const { return result_; }

  private:
    std::string question_;
    std::string text_;
    std::string result_;
};

// Shows the value generator with the question and gives back its result. A failure on the way
// reports "Error in Valbox" and answers "".
using GeneratorWindow = std::function<std::string(const std::string& question)>;
std::string Valbox(const std::string& question, const GeneratorWindow& showGenerator);

}  // namespace dv::ui
