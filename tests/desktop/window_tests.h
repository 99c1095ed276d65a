#pragma once
// What the window tests share: answering modal windows, and the main window shown with its
// data in a fresh folder.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "desktop/help/frm_help_window.h"
#include "desktop/main/frm_main_window.h"
#include "support/fakes.h"

namespace vorblin::testing {

// Runs `act` on the modal window once it is open (the tick that ended the game waits in it).
inline void WhenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] { act(QApplication::activeModalWidget()); });
}

inline void Click(QWidget* window, const char* button) {
    window->findChild<QAbstractButton*>(button)->click();
}

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<FrmMain>(&rnd, &clock, folder.path);
        window->SetProgramEnd([] {});  // "No" after a game
        window->show();
        QApplication::setActiveWindow(window.get());
        window->Well()->setFocus();
    }
    Game& game() { return window->Shell().game; }
    ColourButton* Button(const char* name) {
        return static_cast<ColourButton*>(window->Control(name));
    }
    // Presses help and hands every page the tour shows to `onPage` (numbered from 0, the
    // first page) until the tour ends.
    void Tour(const std::function<void(int, FrmHelp*)>& onPage) {
        int pages = 0;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* help = dynamic_cast<FrmHelp*>(QApplication::activeModalWidget());
            if (help != nullptr && help->isVisible())
                onPage(pages++, help);
        });
        poll.start(1);
        QTest::mouseClick(Button("chkHelp"), Qt::LeftButton);
    }

    TempFolder folder;   // the hall of fame's and the settings file's
    ScriptedRandom rnd;  // every draw 0: ordinary figures of shape 0
    FixedClock clock;
    std::unique_ptr<FrmMain> window;
};

}  // namespace vorblin::testing
