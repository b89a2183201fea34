#include "dialogs/frm_support.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

#include "platform/plain_text.h"

namespace kvt {

void ShowFrmMessage(const FrmMessage& sink, QWidget* parent, const QString& title, const QString& text) {
    if (sink) {
        sink(title, text);
        return;
    }
    PlainMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

void CentreOnScreen(QWidget* window) {
    QScreen* screen = window->parentWidget() ? window->parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QSize size = window->frameGeometry().size().expandedTo(window->size());
    window->move(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2);
}

void CentreOver(QWidget* window, const QWidget* over) {
    if (!over) {
        CentreOnScreen(window);
        return;
    }
    const QRect outer = over->frameGeometry();
    const QSize size = window->frameGeometry().size().expandedTo(window->size());
    window->move(outer.left() + (outer.width() - size.width()) / 2, outer.top() + (outer.height() - size.height()) / 2);
}

}  // namespace kvt
