#pragma once

#include <QString>

// Questions the user answers with Yes or No, in modal boxes, so that the
// program asks real questions and the tests script the answers.
class IQuestions {
public:
    virtual ~IQuestions() = default;
    // Shows the question with Yes and No, No being the default button; true for Yes.
    virtual bool askYesNo(const QString& text, const QString& title) = 0;
};
