#include "platform/plain_text.h"

namespace kvt {

QLabel* NewLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(parent);
    // Before the text: a label guesses rich text from what it is given.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

PlainMessageBox::PlainMessageBox(Icon icon, const QString& title, const QString& text, StandardButtons buttons,
                                 QWidget* parent)
    : QMessageBox(parent) {
    setTextFormat(Qt::PlainText);
    setIcon(icon);
    setWindowTitle(title);
    setText(text);
    setStandardButtons(buttons);
}

}  // namespace kvt
