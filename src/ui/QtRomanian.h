#pragma once

#include <QCoreApplication>
#include <QTranslator>

namespace velmor {

// Romanian texts for Qt's own dialogs and widgets (file and folder dialogs, input prompts,
// standard buttons, the edit menu of text fields). Debian's Qt translations carry no Romanian, so
// the program brings the texts it shows; a Romanian catalogue of Qt found on the system takes
// precedence over them.
class RomanianQtTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};

// Installs the texts into the application (once per application object).
void installRomanianQtTexts(QCoreApplication& app);

}
