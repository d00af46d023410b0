#pragma once
// What a user does in the conversion window, through the Qt widgets that stand for its
// controls: typing into a field or a pane, pressing a button.

#include "conversion/Window1.hpp"
#include "framework/TextView.hpp"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

namespace radixel::test {

template <class QtWidget>
QtWidget* QtOf(const fw::RectControl& control) {
    QWidget* widget = control.widget();
    if (auto* exact = qobject_cast<QtWidget*>(widget)) return exact;
    return widget ? widget->findChild<QtWidget*>() : nullptr;
}

inline QLineEdit* EditOf(const std::shared_ptr<fw::TextField>& field) {
    EXPECT_TRUE(field);
    return field ? QtOf<QLineEdit>(*field) : nullptr;
}

inline fw::TextView* EditOf(const std::shared_ptr<fw::TextArea>& pane) {
    EXPECT_TRUE(pane);
    return pane ? QtOf<fw::TextView>(*pane) : nullptr;
}

// Selects what the widget holds and types over it; "\r" in the text is the Return key.
template <class Edit>
void TypeInto(Edit* edit, const std::string& text) {
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    std::string run;
    auto flush = [&] {
        if (!run.empty()) QTest::keyClicks(edit, QString::fromStdString(run));
        run.clear();
    };
    for (char c : text) {
        if (c == '\r') {
            flush();
            QTest::keyClick(edit, Qt::Key_Return);
        } else {
            run += c;
        }
    }
    flush();
}

inline void Click(const std::shared_ptr<fw::PushButton>& button) {
    ASSERT_TRUE(button);
    auto* push = QtOf<QPushButton>(*button);
    ASSERT_NE(push, nullptr);
    QTest::mouseClick(push, Qt::LeftButton);
}

// Lets the event loop run until the window's conversion is done, its result shown; fails the
// test when it is not done within the time.
inline void WaitForConversion(Window1& window, std::chrono::seconds limit = std::chrono::seconds(60)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (window.Converting() && std::chrono::steady_clock::now() < deadline)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_FALSE(window.Converting()) << "the conversion was not done within " << limit.count() << " s";
}

// The four fields and two panes of a conversion window, as text.
struct WindowTexts {
    std::string leftBase, rightBase, leftPane, rightPane, leftPlaces, rightPlaces;

    static WindowTexts Of(Window1& window) {
        return {window.TextFieldBaseLeft()->Text().bytes(),      window.TextFieldBaseRight()->Text().bytes(),
                window.TextAreaLeft()->Text().bytes(),           window.TextAreaRight()->Text().bytes(),
                window.TextFieldNumPlacesLeft()->Text().bytes(), window.TextFieldNumPlacesRight()->Text().bytes()};
    }
    friend bool operator==(const WindowTexts&, const WindowTexts&) = default;
    friend std::ostream& operator<<(std::ostream& out, const WindowTexts& t) {
        return out << "{base " << t.leftBase << " | " << t.rightBase << ", panes \"" << t.leftPane << "\" | \""
                   << t.rightPane << "\", places " << t.leftPlaces << " | " << t.rightPlaces << "}";
    }
};

// Every test starts from a conversion window just built, as the user first sees it.
class ConversionWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        CloseOpenWindow();
        window = instance::Window1();
        ASSERT_TRUE(window);
    }
    void TearDown() override {
        window.reset();
        CloseOpenWindow();
    }
    static void CloseOpenWindow() {
        if (auto open = fw::GetImplicitWindow("Window1.Window1")) open->Close();
        QApplication::processEvents();
    }

    std::shared_ptr<Window1> window;
};

}  // namespace radixel::test
