#pragma once

#include <QValidator>

// Accepts only text that code page 1252 can hold, so that nothing typed or
// pasted is silently changed when the stores keep it as code page 1252.
class Cp1252Validator : public QValidator
{
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
