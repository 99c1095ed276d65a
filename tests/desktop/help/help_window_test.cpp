// The help window over the main window: every page of the tour, ended by Next or by closing.
#include <QPlainTextEdit>
#include <QScreen>

#include "desktop/window_tests.h"

namespace vorblin {
namespace {

using testing::Click;
using testing::MainWindow;

// The tour ends after its last page (the help button springs up, so that a second tour starts)
// or when its window is closed, with the keys back on the game.
TEST_F(MainWindow, TheHelpTourShowsEveryControlsTagAndEndsByNextOrByClosing) {
    window->move(0, 0);  // no room on the left: the help window stays on the screen all the same
    std::vector<std::string> texts;
    Tour([&](int, FrmHelp* help) {
        QTest::keyClick(help, Qt::Key_Escape);  // not a way out
        EXPECT_TRUE(
            help->isVisible() && Button("chkHelp")->isChecked() &&
            window->screen()->availableGeometry().contains(help->frameGeometry().bottomLeft()));
        texts.push_back(help->findChild<QPlainTextEdit*>("txtText")->toPlainText().toStdString());
        Click(help, "cmdNext");
    });
    const std::vector<HelpPage> pages = HelpTourPages();
    ASSERT_EQ(texts.size(), pages.size() + 1);  // the first page and one a control
    EXPECT_EQ(texts[0], kHelpFirstPage);
    for (size_t i = 0; i < pages.size(); ++i)
        EXPECT_EQ(texts[i + 1], pages[i].text) << pages[i].control;

    Colour shownOnPage = kBlack;
    Tour([&](int page, FrmHelp* help) {
        if (page < 3)
            return Click(help, "cmdNext");
        shownOnPage = Button("cmdDown")->BackColor();
        help->close();  // on the drop button's page
    });
    // (a page after the closed one would be seen here as a later control's highlight)
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == window->Well(); }));
    QTest::keyClick(window->Well(), Qt::Key_Left);
    EXPECT_EQ(shownOnPage, kHelpHighlight);
    EXPECT_EQ(Button("cmdDown")->BackColor(), game().pad.ColorButtons);
    EXPECT_FALSE(Button("chkHelp")->isChecked());
    EXPECT_EQ(int{game().board.PosX}, 8);
}

}  // namespace
}  // namespace vorblin
