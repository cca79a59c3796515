#pragma once

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>

#include <deque>
#include <vector>

// Answers modal questions as they come, for as long as it lives: each text input dialog takes
// the next name (or is cancelled when none is left), each message box is noted as "title: text"
// and closed; other dialogs (progress) are left alone.
class ModalAnswers : public QObject {
public:
    explicit ModalAnswers(std::deque<QString> names) : m_names(std::move(names)) {
        connect(&m_poll, &QTimer::timeout, this, &ModalAnswers::Answer);
        m_poll.start(10);
    }
    std::vector<QString> boxes;

private:
    void Answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* input = qobject_cast<QInputDialog*>(modal)) {
            if (m_names.empty()) {
                input->reject();
                return;
            }
            input->setTextValue(m_names.front());
            m_names.pop_front();
            input->accept();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            boxes.push_back(box->windowTitle() + ": " + box->text());
            box->accept();
        }
    }

    std::deque<QString> m_names;
    QTimer m_poll;
};
