#pragma once
// Pieces shared by the window tests: volumes rooted in a scratch folder and a window
// built over them.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/path_lists.h"
#include "app/volumes.h"
#include "export/messages.h"
#include "files/paths.h"
#include "support/test_support.h"

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace apptest {

using qbtest::Message;

// The texts that the sink showed.
inline QStringList Texts(const qbtest::RecordingMessages& sink) {
    QStringList texts;
    for (const std::u16string& text : sink.Texts()) {
        texts << QString::fromStdU16String(text);
    }
    return texts;
}

// Volumes that are folders of a scratch folder; any of them can be made unusable.
class FakeVolumes final : public qb::app::VolumeSource {
public:
    [[nodiscard]] std::vector<qb::app::Volume> Volumes() const override { return volumes; }
    [[nodiscard]] bool IsReady(const QString& root) const override {
        return !unready.contains(root) && QDir(root).exists();
    }
    [[nodiscard]] QString StartFolder() const override { return start; }

    std::vector<qb::app::Volume> volumes;
    QSet<QString> unready;
    QString start;
};

// The byte files of the shared support, named as the window names them.
inline void WriteFile(const QString& path, const std::string& bytes) {
    qbtest::WriteBytes(qb::ToPath(path.toStdU16String()), bytes);
}
inline std::string ReadFile(const QString& path) { return qbtest::ReadBytes(qb::ToPath(path.toStdU16String())); }

// True when the tests run under Wine, which differs from Windows where the table of
// docs/windows.md says (test_main.cpp).
bool UnderWine();

// A path as the window hands it on and shows it (with "\\" on Windows).
inline QString Native(const QString& path) { return qb::app::NativePath(path); }

inline QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->item(i)->text();
    }
    return items;
}

// Replaces a text box's text as a user would: select all, delete, type. Japanese text
// arrives as an input method's committed string.
inline void TypeInto(QWidget* widget, const QString& text) {
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(widget, Qt::Key_Delete);
    bool ascii = true;
    for (const QChar c : text) {
        ascii = ascii && c.unicode() < 0x80;
    }
    if (ascii) {
        QTest::keyClicks(widget, text);
    } else {
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(widget, &event);
    }
}

// A scratch folder with three drives A, B, C and the window over them.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.isValid());
        clock.now = {2024, 3, 5, 8, 7, 45};
        clock.seed = 7;
        for (const char* name : {"driveA", "driveB", "driveC"}) {
            const QString root = scratch.filePath(QString::fromLatin1(name));
            QDir().mkpath(root);
            volumes.volumes.push_back({root, QString()});
        }
        volumes.start = DriveA() + QStringLiteral("/articles");
        QDir().mkpath(volumes.start);
    }

    [[nodiscard]] QString DriveA() const { return volumes.volumes[0].root; }
    [[nodiscard]] QString DriveB() const { return volumes.volumes[1].root; }
    [[nodiscard]] QString DriveC() const { return volumes.volumes[2].root; }

    // Builds the window with a probe that notes the window's state and enables it; shows
    // it on the given screen (by default where new windows open).
    void Open(QScreen* screen = nullptr) {
        qb::app::MainWindowServices services;
        services.messages = &sink;
        services.clock = &clock;
        services.volumes = &volumes;
        services.probe = [this](QWidget& w) {
            probeSawEnabled = w.isEnabled();
            ++probeCalls;
            w.setEnabled(true);
        };
        services.quit = [this](int code) { exitCodes.push_back(code); };
        window = std::make_unique<qb::app::MainWindow>(std::move(services));
        if (screen != nullptr) {
            window->move(screen->availableGeometry().topLeft() + QPoint(40, 30));
        }
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // Makes the window the active one, as keyboard input and focus need.
    void Activate() {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <class T>
    T* Get(const char* name) {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void Click(const char* name) { QTest::mouseClick(Get<QWidget>(name), Qt::LeftButton); }

    void ClickItem(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(list->item(row)).center());
    }

    // Presses on one entry, drags to another and lets go.
    void DragItems(QListWidget* list, int from, int to) {
        const QPoint start = list->visualItemRect(list->item(from)).center();
        const QPoint end = list->visualItemRect(list->item(to)).center();
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, start);
        QTest::mouseMove(list->viewport(), end);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, end);
    }

    // Opens an entry of a folder list by double-clicking it.
    void OpenFolder(const char* listName, const QString& text) {
        auto* list = Get<QListWidget>(listName);
        const auto found = list->findItems(Native(text), Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << text.toStdString();
        const QPoint at = list->visualItemRect(found.first()).center();
        // The press of the second click, then the double-click itself.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    void Type(const char* name, const QString& text) { TypeInto(Get<QWidget>(name), text); }

    // The start-date fields Text1 to Text5: typed, or as shown.
    void TypeStartDate(const QStringList& fields) {
        for (int i = 0; i < 5; ++i) {
            Type(kDateFields[i], fields[i]);
        }
    }
    QStringList DateFields() {
        QStringList fields;
        for (const char* name : kDateFields) {
            fields << Get<QLineEdit>(name)->text();
        }
        return fields;
    }
    static constexpr const char* kDateFields[] = {"Text1", "Text2", "Text3", "Text4", "Text5"};

    QTemporaryDir scratch;
    qbtest::FakeClock clock;
    qbtest::RecordingMessages sink;
    FakeVolumes volumes;
    std::unique_ptr<qb::app::MainWindow> window;
    std::vector<int> exitCodes;
    int probeCalls = 0;
    bool probeSawEnabled = true;
};

}  // namespace apptest
