#include "tools/kvx/designer/window_support.h"

#include <QAudioOutput>
#include <QBuffer>
#include <QMediaPlayer>

#include "platform/plain_text.h"

namespace kvt::kvx {

QMessageBox::StandardButton AskToSave(QWidget* parent, const QString& title, const QString& text,
                                      const std::function<QMessageBox::StandardButton(const QString&)>& ask) {
    if (ask) return ask(text);
    PlainMessageBox box(QMessageBox::Question, title, text,
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void PlayWave(QMediaPlayer*& player, QWidget* owner, const std::string& bytes) {
    if (!player) {
        player = new QMediaPlayer(owner);
        player->setAudioOutput(new QAudioOutput(player));
    }
    player->stop();
    auto* buffer = new QBuffer(player);
    buffer->setData(QByteArray::fromStdString(bytes));
    buffer->open(QIODevice::ReadOnly);
    player->setSourceDevice(buffer);
    player->play();
}

}  // namespace kvt::kvx
