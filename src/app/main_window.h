#pragma once
// The main window fQuillbrook: every control at its place, the start-up, the choice of
// articles, the options and the start-date buttons. The export itself is the engine's:
// the window reads its controls into a FormState, maps it onto the export's settings,
// runs it and shows what the run gives back.

#include <QWidget>
#include <array>
#include <functional>

#include "app/form_settings.h"
#include "app/volumes.h"
#include "export/clock.h"
#include "export/messages.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScreen;
class QScrollArea;

namespace qb::app {

class DriveList;
class FileList;
class FolderList;

struct MainWindowServices {
    MessageSink* messages = nullptr;  // every message box goes through it
    Clock* clock = nullptr;
    VolumeSource* volumes = nullptr;
    // The start-up probe: runs last in start-up and enables the window (at once, or
    // when its notice closes). None: the window is enabled at once.
    std::function<void(QWidget&)> probe;
    // Ends the program with an exit code. None: QCoreApplication::exit.
    std::function<void(int)> quit;
};

class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Builds the window disabled and runs its start-up.
    explicit MainWindow(MainWindowServices services, QWidget* parent = nullptr);

    [[nodiscard]] const QString& LastSourceDrive() const { return source_.last; }
    [[nodiscard]] const QString& LastOutputDrive() const { return output_.last; }

    // The controls the export reads, as they stand.
    [[nodiscard]] FormState ReadForm() const;
    // Combo1's selected entry: the entry its text matches, full-width and ASCII digits
    // counting alike; -1 when it matches none.
    [[nodiscard]] int Combo1ListIndex() const;

    // Puts the window on its screen's room for windows: whole and centred where it fits,
    // otherwise at the top-left, as large as the room, with its inside scrolling.
    void FitToScreen();

protected:
    void showEvent(QShowEvent* event) override;
    // Closing the window ends the program, notice window and all; its close box does
    // nothing while the window is disabled.
    void closeEvent(QCloseEvent* event) override;

private:
    struct DrivePair {
        DriveList* drive = nullptr;
        FolderList* dir = nullptr;
        QString last;          // the last drive whose folders could be shown
        bool undoing = false;  // the change running is the return to `last`
    };

    void FollowScreen(QScreen* screen);
    // Scrolls the inside so that all of a control is in view (where the screen is small).
    void ShowWhole(const QWidget& control);
    // Makes the controls from the window's layout and keeps the ones the window works with.
    void BuildControls();
    void Load();
    void ConnectHandlers();
    void StartDrive(DrivePair& pair);

    // The window's handlers, each named by what it does; ConnectHandlers ties them to the
    // controls.
    // File by file (0) or one blog folder (1); the removal buttons and the chosen-files
    // frame serve only the first.
    void ChooseSourceMode(int index);
    // Shows the chosen drive's folder, or goes back to the last drive that could be shown.
    void ChangeDrive(DrivePair& pair);
    // The file list follows the source folder list.
    void ListSourceFolder(const QString& path);
    // F5, or opening a shown folder again: the folder and file lists are read again.
    void RefreshLists();
    void ReportFolderOpenFailure(const QString& path);
    // Appends the selected files to the article lists, names and full paths in step.
    void AddSelectedArticles();
    // Keeps the hidden path list's selection on the article selected in the shown list.
    void SelectPathOfArticle();
    void RemoveSelected();
    void RemoveAll();
    void Export();
    // Moves the start date by whole days (+ and - buttons).
    void StepStartDate(int days);
    // Brings back the start date saved at start-up or by the last export.
    void RestoreStartDate();
    void Quit();
    // A time step typed with ASCII digits selects the entry it matches.
    void ChooseTimeStep();

    void ShowMessage(const QString& text);
    // The platform's description of a failure number, in the usual box.
    void ShowFailure(int number);
    void WriteDateFields(const FormState& form);
    void WriteLists(const FormState& form);
    void EndProgram(int code);

    MainWindowServices services_;
    WindowState state_;
    QWidget* inside_ = nullptr;
    QScrollArea* scroller_ = nullptr;
    bool followsScreen_ = false;
    QMetaObject::Connection screenChange_;
    DrivePair source_;
    DrivePair output_;

    // The controls the window works with, by their names in the layout.
    std::array<QRadioButton*, 2> optFile_{};
    FileList* file1_ = nullptr;
    QPushButton* command4_ = nullptr;
    QPushButton* command7_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QListWidget* list1_ = nullptr;
    QListWidget* list2_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;

    std::array<QRadioButton*, 2> optKaigyo_{};
    std::array<QRadioButton*, 2> optTitle_{};
    QLineEdit* text7_ = nullptr;
    QGroupBox* frame7_ = nullptr;  // output encoding
    QRadioButton* option13_ = nullptr;
    QRadioButton* option1_ = nullptr;
    QRadioButton* option2_ = nullptr;
    QRadioButton* option3_ = nullptr;
    QGroupBox* frame3_ = nullptr;  // publish status
    QGroupBox* frame2_ = nullptr;
    std::array<QLineEdit*, 5> dateFields_{};  // Text1..Text5
    QPushButton* command5_ = nullptr;
    QPushButton* command6_ = nullptr;
    QPushButton* command1_ = nullptr;
    QGroupBox* frame4_ = nullptr;  // day step
    QComboBox* combo1_ = nullptr;
    QComboBox* combo2_ = nullptr;
    QGroupBox* frame6_ = nullptr;  // category rule
    QRadioButton* option7_ = nullptr;
    QRadioButton* option8_ = nullptr;
    QRadioButton* option10_ = nullptr;
    QLineEdit* text8_ = nullptr;
    QGroupBox* frame9_ = nullptr;       // line ends
    QRadioButton* option15_ = nullptr;  // CR LF line ends
    QCheckBox* check1_ = nullptr;       // platform characters as references
};

}  // namespace qb::app
