#include "dialogs/TF_about.h"

#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "UrlCatcher.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {
QLabel* label(QWidget& w, const char* name) {
    return w.findChild<QLabel*>(name);
}
} // namespace

TEST(TF_about, ShowsNameVersionEditionAndTheRedLinkLine) {
    TestProgram program(ProgramWindows::About);
    TF_about& about = *program.reg().about;
    EXPECT_EQ(about.windowTitle(), "About");
    ASSERT_TRUE(label(about, "Label_name") && label(about, "Label_version") &&
                label(about, "Label_edition") && label(about, "Label_link") && label(about, "Image_icon"));
    EXPECT_EQ(label(about, "Label_name")->text(), "Quillmarch");
    EXPECT_TRUE(label(about, "Label_name")->font().bold());
    EXPECT_GT(label(about, "Label_name")->font().pointSizeF(), about.font().pointSizeF());
    EXPECT_EQ(label(about, "Label_version")->text(), "v 1.5.3");
    EXPECT_TRUE(label(about, "Label_version")->font().bold());
    EXPECT_EQ(label(about, "Label_version")->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(label(about, "Label_edition")->text(), "Freeware edition");
    EXPECT_TRUE(label(about, "Label_edition")->font().italic());
    EXPECT_EQ(label(about, "Label_link")->text(), TF_about::MakerPage().toString());
    EXPECT_EQ(label(about, "Label_link")->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(label(about, "Label_link")->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FALSE(label(about, "Image_icon")->pixmap().isNull());
    auto* ok = about.findChild<QPushButton*>("Btn_ok");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->text(), "Ok");
    EXPECT_TRUE(ok->isDefault());
}

TEST(TF_about, ClickingTheLinkOpensTheMakersPageAndOkClosesTheBox) {
    TestProgram program(ProgramWindows::About);
    TF_about& about = *program.reg().about;
    UrlCatcher catcher;
    QSize shownSize;
    {
        ModalAnswer answer([&](QWidget* d) {
            shownSize = d->size();
            auto* link = d->findChild<QLabel*>("Label_link");
            // Pressed on the link but let go beside it: no click.
            QTest::mousePress(link, Qt::LeftButton);
            QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(link->width() + 5, link->height() / 2));
            QTest::mouseClick(link, Qt::LeftButton);
            click_button(d, "Ok");
        });
        about.ShowAbout();
    }
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0], TF_about::MakerPage());
    EXPECT_EQ(about.minimumSize(), shownSize) << "the box has a fixed size";
    EXPECT_EQ(about.maximumSize(), shownSize);
}
