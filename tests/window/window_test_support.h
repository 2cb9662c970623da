#pragma once

// Shared pieces of the window tests. Every answer to bad input is a modal message box, and a box
// that nobody dismisses would hang the run for good, so each test holds a ModalGuard: it answers
// the boxes a test expects the way the test asks (OK, Enter, Escape or the close button) and
// records each one as it stood, and it closes any modal window a test did not expect and
// records that as a failure for cleanup() to report.

#include "calc/notice.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <utility>

namespace beltrix::ui::test {

using beltrix::Notice;

// A notice's text, as the window's message box shows it.
inline QString noticeString(Notice notice) {
    return QString::fromUtf8(noticeText(notice));
}

enum class Dismissal { OkButton, EnterKey, EscapeKey, CloseButton };

struct SeenMessage {
    QString title;
    QString text;
    Qt::TextFormat textFormat = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons standardButtons;
    qsizetype buttonCount = 0;
    bool applicationModal = false;
    // False when the box stayed up after the test's answer and had to be forced shut.
    bool wentAway = false;
};

// Closes a window as its title-bar close button does: the request goes through the window
// system, so the widget can refuse it just as it could refuse the user.
inline void closeLikeTheUser(QWidget* window) {
    if (QWindow* handle = window->windowHandle()) {
        handle->close();
    } else {
        window->close();
    }
}

class ModalGuard {
public:
    ModalGuard() {
        poller_.setInterval(10);
        QObject::connect(&poller_, &QTimer::timeout, &poller_, [this] { poll(); });
        poller_.start();
    }

    // Runs the action and answers every modal box that comes up before it returns. The observer
    // runs while each box is still on screen, to look at the window behind it.
    QList<SeenMessage> expectMessages(const std::function<void()>& action, Dismissal how,
                                      const std::function<void()>& whileShown = {}) {
        expecting_ = true;
        how_ = how;
        whileShown_ = whileShown;
        seen_.clear();
        action();
        expecting_ = false;
        whileShown_ = {};
        return std::exchange(seen_, {});
    }

    QStringList takeUnexpected() { return std::exchange(unexpected_, {}); }

private:
    static QString describe(QWidget* modal) {
        QString description = QString::fromLatin1(modal->metaObject()->className()) +
                              QStringLiteral(" \"") + modal->windowTitle() + QLatin1Char('"');
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            description += QStringLiteral(": ") + box->text();
        }
        return description;
    }

    static void forceShut(QWidget* modal) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->done(QDialog::Rejected);
        } else {
            modal->close();
        }
    }

    void answer(QMessageBox* box) {
        switch (how_) {
        case Dismissal::OkButton:
            if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
                QTest::mouseClick(ok, Qt::LeftButton);
            }
            break;
        case Dismissal::EnterKey:
        case Dismissal::EscapeKey: {
            // Keys go where the user's keystroke would: the box's focused button, whose
            // unhandled keys travel up to the box.
            QWidget* target = box->focusWidget() ? box->focusWidget() : box;
            QTest::keyClick(target, how_ == Dismissal::EnterKey ? Qt::Key_Return : Qt::Key_Escape);
            break;
        }
        case Dismissal::CloseButton:
            closeLikeTheUser(box);
            break;
        }
    }

    void poll() {
        if (busy_) {
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        busy_ = true;
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!expecting_ || box == nullptr) {
            unexpected_ << describe(modal);
            forceShut(modal);
            busy_ = false;
            return;
        }
        SeenMessage seen;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.textFormat = box->textFormat();
        seen.icon = box->icon();
        seen.standardButtons = box->standardButtons();
        seen.buttonCount = box->buttons().size();
        seen.applicationModal = box->windowModality() == Qt::ApplicationModal;
        if (whileShown_) {
            whileShown_();
        }
        QPointer<QMessageBox> guarded(box);
        answer(box);
        seen.wentAway = guarded.isNull() || !guarded->isVisible();
        if (!seen.wentAway) {
            forceShut(guarded);
        }
        seen_ << seen;
        busy_ = false;
    }

    QTimer poller_;
    bool busy_ = false;
    bool expecting_ = false;
    Dismissal how_ = Dismissal::OkButton;
    std::function<void()> whileShown_;
    QList<SeenMessage> seen_;
    QStringList unexpected_;
};

inline QList<QWidget*> topLevelsNamed(const QString& name) {
    QList<QWidget*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name) {
            found << widget;
        }
    }
    return found;
}

// Closed windows delete themselves later; tests that count windows need that done now.
inline void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline void closeAllWindows() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            widget->close();
        }
    }
    flushDeletes();
}

// Closes every window and returns the names of those that outlived their closing, after
// deleting them so that the next case starts from an empty desktop.
inline QStringList closeAllAndCollectSurvivors() {
    closeAllWindows();
    QStringList survivors;
    QList<QPointer<QWidget>> leftover;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        survivors << widget->objectName();
        leftover << widget;
    }
    for (const QPointer<QWidget>& widget : leftover) {
        delete widget.data();
    }
    return survivors;
}

// The offscreen platform warns whenever a window asks for something it has no screen to do
// (raising, passing on size hints); those lines say nothing about the program.
inline void silenceOffscreenNoise() {
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (previous != nullptr &&
                !message.startsWith(QLatin1String("This plugin does not support"))) {
                previous(type, context, message);
            }
        });
}

// Replaces a field's text the way a user does: select everything, then type over it.
inline void typeInto(QLineEdit* field, const QString& text) {
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        QTest::keyClick(field, Qt::Key_Delete);
    } else {
        QTest::keyClicks(field, text);
    }
}

// Ends a test case: closes every window and says what was wrong with the case's end, if
// anything: a modal box nobody expected, or a window that outlived its closing.
inline QString finishCase(ModalGuard& guard) {
    const QStringList unexpected = guard.takeUnexpected();
    const QStringList survivors = closeAllAndCollectSurvivors();
    QStringList problems = unexpected;
    if (!survivors.isEmpty()) {
        problems << QStringLiteral("still there after closing: ") +
                        survivors.join(QStringLiteral(", "));
    }
    return problems.join(QLatin1Char('\n'));
}

inline bool bringToFront(QWidget* window) {
    window->raise();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

inline const char* dismissalName(Dismissal how) {
    switch (how) {
    case Dismissal::OkButton:
        return "OK button";
    case Dismissal::EnterKey:
        return "Enter key";
    case Dismissal::EscapeKey:
        return "Escape key";
    case Dismissal::CloseButton:
        return "close button";
    }
    return "";
}

} // namespace beltrix::ui::test

Q_DECLARE_METATYPE(beltrix::ui::test::Dismissal)
