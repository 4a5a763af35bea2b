#include "app/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSet>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyleFactory>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "app/app_icon.h"
#include "app/path_lists.h"
#include "app/screen_fit.h"
#include "app/window_layout.h"
#include "app/window_style.h"
#include "common/run_error.h"
#include "export/blog_folder.h"
#include "export/choices.h"
#include "export/entry_dates.h"
#include "export/export_run.h"
#include "files/paths.h"

namespace qb::app {

namespace {

QString Q(const std::u16string& text) { return QString::fromStdU16String(text); }
std::u16string U(const QString& text) { return text.toStdU16String(); }

// text with its full-width digits as ASCII digits.
QString WithAsciiDigits(QString text) {
    for (QChar& c : text) {
        if (c.unicode() >= u'０' && c.unicode() <= u'９') {
            c = QChar(static_cast<char16_t>(u'0' + (c.unicode() - u'０')));
        }
    }
    return text;
}

// The caption of the selected option button among a frame's own; empty when none is.
std::u16string SelectedCaption(const QGroupBox& frame) {
    const QList<QRadioButton*> options = frame.findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
    const auto selected =
        std::find_if(options.begin(), options.end(), [](const QRadioButton* option) { return option->isChecked(); });
    return selected == options.end() ? std::u16string() : U((*selected)->text());
}

}  // namespace

MainWindow::MainWindow(MainWindowServices services, QWidget* parent) : QWidget(parent), services_(std::move(services)) {
    Q_ASSERT(services_.messages != nullptr && services_.clock != nullptr && services_.volumes != nullptr);
    setObjectName(QStringLiteral("fQuillbrook"));
    setWindowTitle(QStringLiteral("Quillbrook Ver " QB_VERSION));
    setWindowIcon(AppIcon());
    setFont(UiFont(kWindowPoints));
    setEnabled(false);

    // The controls lie on the window's inside, which scrolls where the screen is too small.
    inside_ = new QWidget;
    inside_->setObjectName(QStringLiteral("Inside"));
    inside_->setFixedSize(ToPixels(kInsideTwips).size());
    scroller_ = new QScrollArea(this);
    scroller_->setObjectName(QStringLiteral("Scroller"));
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setFocusPolicy(Qt::NoFocus);
    scroller_->setWidget(inside_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroller_);

    BuildControls();
    // Every control is drawn in the window's own way over the application's style.
    auto* look = new WindowStyle(QStyleFactory::create(QApplication::style()->name()));
    look->setParent(this);
    for (QWidget* control : inside_->findChildren<QWidget*>()) {
        control->setStyle(look);
    }
    FitToScreen();
    // A control that takes the focus comes into view whole, not only its caret.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* /*before*/, QWidget* now) {
        if (now != nullptr && inside_->isAncestorOf(now)) {
            ShowWhole(*now);
        }
    });
    Load();
}

void MainWindow::ShowWhole(const QWidget& control) {
    constexpr int kMargin = 6;
    const QRect area(control.mapTo(inside_, QPoint(0, 0)), control.size());
    scroller_->ensureVisible(area.center().x(), area.center().y(), area.width() / 2 + kMargin,
                             area.height() / 2 + kMargin);
}

void MainWindow::FitToScreen() {
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        return;
    }
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroller_);
    const ScreenFit fit = FitOnScreen(inside_->size(), screen->availableGeometry(), frame, scrollBar);
    if (fit.scrolls) {
        // As large as the screen lets it be, and no larger than the content needs.
        setMinimumSize(std::min(fit.size.width(), 2 * scrollBar), std::min(fit.size.height(), 2 * scrollBar));
        setMaximumSize(inside_->size() + QSize(scrollBar, scrollBar));
        resize(fit.size);
    } else {
        setFixedSize(fit.size);
    }
    move(fit.position);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (followsScreen_) {
        return;
    }
    // Shown for the first time: the screen and the window's frame are known now.
    followsScreen_ = true;
    FitToScreen();
    if (QWindow* handle = windowHandle()) {
        connect(handle, &QWindow::screenChanged, this, &MainWindow::FollowScreen);
        FollowScreen(handle->screen());
    }
}

void MainWindow::FollowScreen(QScreen* screen) {
    disconnect(screenChange_);
    if (screen != nullptr) {
        // The screen's room changes (another resolution or scaling): fit the window again.
        screenChange_ = connect(screen, &QScreen::availableGeometryChanged, this, &MainWindow::FitToScreen);
    }
}

void MainWindow::BuildControls() {
    const Controls controls = BuildLayout(*inside_, font());
    source_.drive = controls.Get<DriveList>("Drive1");
    source_.dir = controls.Get<FolderList>("Dir1");
    file1_ = controls.Get<FileList>("File1");
    output_.drive = controls.Get<DriveList>("Drive2");
    output_.dir = controls.Get<FolderList>("Dir2");
    optFile_ = {controls.Get<QRadioButton>("optFile_0"), controls.Get<QRadioButton>("optFile_1")};
    optKaigyo_ = {controls.Get<QRadioButton>("optKaigyo_0"), controls.Get<QRadioButton>("optKaigyo_1")};
    optTitle_ = {controls.Get<QRadioButton>("optTitle_0"), controls.Get<QRadioButton>("optTitle_1")};
    dateFields_ = {controls.Get<QLineEdit>("Text1"), controls.Get<QLineEdit>("Text2"), controls.Get<QLineEdit>("Text3"),
                   controls.Get<QLineEdit>("Text4"), controls.Get<QLineEdit>("Text5")};
    const std::pair<QPushButton**, const char*> commands[] = {
        {&command1_, "Command1"}, {&command2_, "Command2"}, {&command3_, "Command3"}, {&command4_, "Command4"},
        {&command5_, "Command5"}, {&command6_, "Command6"}, {&command7_, "Command7"}};
    for (const auto& [member, name] : commands) {
        *member = controls.Get<QPushButton>(name);
    }
    const std::pair<QRadioButton**, const char*> options[] = {
        {&option1_, "Option1"}, {&option2_, "Option2"},   {&option3_, "Option3"},   {&option7_, "Option7"},
        {&option8_, "Option8"}, {&option10_, "Option10"}, {&option13_, "Option13"}, {&option15_, "Option15"}};
    for (const auto& [member, name] : options) {
        *member = controls.Get<QRadioButton>(name);
    }
    const std::pair<QGroupBox**, const char*> frames[] = {
        {&frame1_, "Frame1"}, {&frame2_, "Frame2"}, {&frame3_, "Frame3"}, {&frame4_, "Frame4"},
        {&frame6_, "Frame6"}, {&frame7_, "Frame7"}, {&frame9_, "Frame9"}};
    for (const auto& [member, name] : frames) {
        *member = controls.Get<QGroupBox>(name);
    }
    check1_ = controls.Get<QCheckBox>("Check1");
    list1_ = controls.Get<QListWidget>("List1");
    list2_ = controls.Get<QListWidget>("List2");
    text7_ = controls.Get<QLineEdit>("Text7");
    text8_ = controls.Get<QLineEdit>("Text8");
    combo1_ = controls.Get<QComboBox>("Combo1");
    combo2_ = controls.Get<QComboBox>("Combo2");
    for (const Choice<SplitLimits>& split : kSplitChoices) {
        combo2_->addItem(Q(std::u16string(split.entry)));
    }

    // The start: UTF-8, CR LF line ends, no category name to type, the full paths hidden.
    option13_->setChecked(true);
    option15_->setChecked(true);
    text8_->setEnabled(false);
    list2_->hide();
}

void MainWindow::Load() {
    frame2_->setTitle(Q(kFrame2StartCaption));
    FormState form;
    SetDateFields(form, StartUpDateFields(state_.dates, *services_.clock));
    WriteDateFields(form);
    combo1_->clear();
    for (const Choice<TimeStep>& step : kTimeSteps) {
        combo1_->addItem(Q(std::u16string(step.entry)));
    }
    combo1_->setCurrentIndex(0);

    StartDrive(source_);
    StartDrive(output_);
    ConnectHandlers();

    optFile_[0]->setChecked(true);
    optKaigyo_[0]->setChecked(true);
    optTitle_[0]->setChecked(true);

    if (services_.probe) {
        services_.probe(*this);
    } else {
        setEnabled(true);
    }
}

void MainWindow::StartDrive(DrivePair& pair) {
    const VolumeSource& volumes = *services_.volumes;
    pair.drive->SetVolumes(volumes.Volumes());
    const QString start = volumes.StartFolder();
    QString root = pair.drive->RootHolding(start);
    if (root.isEmpty()) {
        root = pair.drive->CurrentRoot();
    } else {
        pair.drive->RememberFolder(root, start);
    }
    {
        const QSignalBlocker blocker(pair.drive);
        pair.drive->SelectRoot(root);
    }
    if (!root.isEmpty() && volumes.IsReady(root)) {
        pair.dir->ShowDrive(root, pair.drive->FolderFor(root));
    }
    pair.last = root;
}

void MainWindow::ConnectHandlers() {
    for (int index = 0; index < 2; ++index) {
        connect(optFile_[index], &QRadioButton::toggled, this, [this, index](bool on) {
            if (on) {
                ChooseSourceMode(index);
            }
        });
        connect(optKaigyo_[index], &QRadioButton::toggled, this, [this, index](bool on) {
            if (on) {
                state_.KaigyoMode = static_cast<std::int16_t>(index);
            }
        });
        connect(optTitle_[index], &QRadioButton::toggled, this, [this, index](bool on) {
            if (on) {
                state_.TitleMode = static_cast<std::int16_t>(index);
            }
        });
    }
    const auto onSelected = [this](QRadioButton* button, auto handler) {
        connect(button, &QRadioButton::toggled, this, [handler](bool on) {
            if (on) {
                handler();
            }
        });
    };
    onSelected(option1_, [this] { frame2_->setTitle(Q(Frame2CaptionFor(true))); });
    onSelected(option2_, [this] { frame2_->setTitle(Q(Frame2CaptionFor(false))); });
    onSelected(option3_, [this] { frame2_->setTitle(Q(Frame2CaptionFor(false))); });
    onSelected(option7_, [this] { text8_->setEnabled(false); });
    onSelected(option8_, [this] { text8_->setEnabled(false); });
    onSelected(option10_, [this] { text8_->setEnabled(true); });

    for (DrivePair* pair : {&source_, &output_}) {
        connect(pair->drive, &QComboBox::currentIndexChanged, this, [this, pair] { ChangeDrive(*pair); });
        connect(pair->dir, &FolderList::OpenFailed, this, &MainWindow::ReportFolderOpenFailure);
        connect(pair->dir, &FolderList::PathChanged, this,
                [pair](const QString& path) { pair->drive->RememberFolder(pair->dir->Root(), path); });
    }
    connect(source_.dir, &FolderList::PathChanged, this, &MainWindow::ListSourceFolder);
    for (const FolderList* dir : {source_.dir, output_.dir}) {
        connect(dir, &FolderList::RefreshAsked, this, &MainWindow::RefreshLists);
    }
    auto* refresh = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(refresh, &QShortcut::activated, this, &MainWindow::RefreshLists);
    file1_->SetFolder(source_.dir->Path());
    connect(file1_, &FileList::Clicked, this, &MainWindow::AddSelectedArticles);
    connect(list1_, &QListWidget::itemSelectionChanged, this, &MainWindow::SelectPathOfArticle);

    connect(combo1_->lineEdit(), &QLineEdit::editingFinished, this, &MainWindow::ChooseTimeStep);

    connect(command4_, &QPushButton::clicked, this, &MainWindow::RemoveSelected);
    connect(command7_, &QPushButton::clicked, this, &MainWindow::RemoveAll);
    connect(command3_, &QPushButton::clicked, this, &MainWindow::Export);
    connect(command5_, &QPushButton::clicked, this, [this] { StepStartDate(1); });
    connect(command6_, &QPushButton::clicked, this, [this] { StepStartDate(-1); });
    connect(command1_, &QPushButton::clicked, this, &MainWindow::RestoreStartDate);
    connect(command2_, &QPushButton::clicked, this, &MainWindow::Quit);
}

// ---- The controls read into a form and written back

int MainWindow::Combo1ListIndex() const {
    const QString typed = combo1_->currentText();
    const int index = combo1_->currentIndex();
    if (index >= 0 && combo1_->itemText(index) == typed) {
        return index;
    }
    const int exact = combo1_->findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (exact >= 0) {
        return exact;
    }
    // "3時間" typed with an ASCII digit looks just like the entry "３時間".
    const QString folded = WithAsciiDigits(typed);
    for (int i = 0; i < combo1_->count(); ++i) {
        if (WithAsciiDigits(combo1_->itemText(i)) == folded) {
            return i;
        }
    }
    return -1;
}

void MainWindow::ChooseTimeStep() {
    const int index = Combo1ListIndex();
    if (index >= 0 && combo1_->currentText() != combo1_->itemText(index)) {
        combo1_->setCurrentIndex(index);
        combo1_->setEditText(combo1_->itemText(index));
    }
}

FormState MainWindow::ReadForm() const {
    FormState form;
    form.Text1 = U(dateFields_[0]->text());
    form.Text2 = U(dateFields_[1]->text());
    form.Text3 = U(dateFields_[2]->text());
    form.Text4 = U(dateFields_[3]->text());
    form.Text5 = U(dateFields_[4]->text());
    form.Text7 = U(text7_->text());
    form.Text8 = U(text8_->text());
    form.Frame3 = SelectedCaption(*frame3_);
    form.Frame4 = SelectedCaption(*frame4_);
    form.Frame6 = SelectedCaption(*frame6_);
    form.Frame7 = SelectedCaption(*frame7_);
    form.Frame9 = SelectedCaption(*frame9_);
    form.Check1 = check1_->isChecked() ? U(check1_->text()) : std::u16string();
    form.Combo1ListIndex = Combo1ListIndex();
    form.Combo2ListIndex = combo2_->currentIndex();
    form.KaigyoMode = state_.KaigyoMode;
    form.TitleMode = state_.TitleMode;
    form.Dir1Path = U(NativePath(source_.dir->Path()));
    form.Dir2Path = U(NativePath(output_.dir->Path()));
    for (int i = 0; i < list1_->count(); ++i) {
        form.List1.push_back(U(list1_->item(i)->text()));
    }
    for (int i = 0; i < list2_->count(); ++i) {
        form.List2.push_back(U(list2_->item(i)->text()));
    }
    return form;
}

void MainWindow::WriteDateFields(const FormState& form) {
    const std::array<const std::u16string*, 5> texts = {&form.Text1, &form.Text2, &form.Text3, &form.Text4,
                                                        &form.Text5};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        dateFields_[i]->setText(Q(*texts[i]));
    }
}

void MainWindow::WriteLists(const FormState& form) {
    list1_->clear();
    list2_->clear();
    for (const std::u16string& name : form.List1) {
        list1_->addItem(Q(name));
    }
    for (const std::u16string& path : form.List2) {
        list2_->addItem(Q(path));
    }
}

void MainWindow::ShowMessage(const QString& text) { services_.messages->Show(U(text)); }

void MainWindow::ShowFailure(int number) { ShowMessage(QString::fromStdString(ErrorDescription(number))); }

void MainWindow::EndProgram(int code) {
    if (services_.quit) {
        services_.quit(code);
    } else {
        QCoreApplication::exit(code);
    }
}

// ---- Source selection

void MainWindow::ChooseSourceMode(int index) {
    state_.SourceMode = static_cast<std::int16_t>(index);
    const bool fileMode = index == 0;
    command4_->setEnabled(fileMode);
    command7_->setEnabled(fileMode);
    frame1_->setVisible(fileMode);
}

void MainWindow::ChangeDrive(DrivePair& pair) {
    const QString chosen = pair.drive->CurrentRoot();
    if (!services_.volumes->IsReady(chosen)) {
        // Shown once: not again when the return to the remembered drive fails as well.
        if (!pair.undoing) {
            ShowFailure(err::kDeviceUnavailable);
        }
        if (pair.undoing || chosen == pair.last) {
            return;
        }
        pair.undoing = true;
        pair.drive->SelectRoot(pair.last);
        pair.undoing = false;
        return;
    }
    // Any other failure: the folder list keeps its folder, the remembered drive stays.
    if (pair.dir->ShowDrive(chosen, pair.drive->FolderFor(chosen))) {
        pair.last = chosen;
    }
}

void MainWindow::ListSourceFolder(const QString& path) { file1_->SetFolder(path); }

void MainWindow::RefreshLists() {
    source_.dir->Refresh();
    file1_->Refresh();
    output_.dir->Refresh();
}

void MainWindow::ReportFolderOpenFailure(const QString& path) {
    const int number = QFileInfo::exists(path) ? err::kPermissionDenied : err::kPathNotFound;
    ShowFailure(number);
}

void MainWindow::AddSelectedArticles() {
    const QString folder = NativePath(WithTrailingSeparator(source_.dir->Path()));
    // A file already listed is not listed again: the export would post it twice.
    QSet<QString> listed;
    for (int i = 0; i < list2_->count(); ++i) {
        listed.insert(list2_->item(i)->text());
    }
    const int count = file1_->count();
    for (int p = 0; p < count; ++p) {
        const QListWidgetItem* item = file1_->item(p);
        if (!item->isSelected()) {
            continue;
        }
        const QString path = folder + item->text();
        if (listed.contains(path)) {
            continue;
        }
        listed.insert(path);
        list1_->addItem(item->text());
        list2_->addItem(path);
    }
}

void MainWindow::SelectPathOfArticle() {
    const QList<QListWidgetItem*> selected = list1_->selectedItems();
    list2_->clearSelection();
    if (!selected.isEmpty()) {
        const int row = list1_->row(selected.first());
        if (row < list2_->count()) {
            list2_->item(row)->setSelected(true);
            list2_->setCurrentRow(row);
        }
    }
}

void MainWindow::RemoveSelected() {
    const QList<QListWidgetItem*> selected = list1_->selectedItems();
    if (selected.isEmpty()) {
        ShowMessage(QStringLiteral("ファイルが選択されていません"));
        return;
    }
    // List2's selection follows List1's, so both lose the same position.
    const int row = list1_->row(selected.first());
    const QSignalBlocker blocker(list1_);
    delete list1_->takeItem(row);
    delete list2_->takeItem(row);
    list1_->clearSelection();
    list2_->clearSelection();
    list1_->setCurrentRow(-1);
    list2_->setCurrentRow(-1);
}

void MainWindow::RemoveAll() {
    list1_->clear();
    list2_->clear();
}

void MainWindow::Export() {
    FormState form = ReadForm();
    if (state_.SourceMode == 1) {
        try {
            SetArticleLists(form, BlogFolderArticles(form.Dir1Path));
        } catch (const RunError& error) {
            // The blog folder cannot be listed: nothing to export.
            ShowFailure(error.Number());
            return;
        }
        WriteLists(form);
    }
    // The run moves the start date on article by article; a message shows over the window
    // with its date fields as the run has left them so far.
    class FieldsFirst final : public MessageSink {
    public:
        explicit FieldsFirst(MainWindow& window) : window_(window) {}
        using MessageSink::Show;
        void Show(const std::u16string& text, MessageIcon icon, const std::u16string& caption,
                  const std::u16string& details) override {
            if (run != nullptr) {
                FormState fields;
                SetDateFields(fields, run->fields);
                window_.WriteDateFields(fields);
            }
            window_.services_.messages->Show(text, icon, caption, details);
        }
        const ExportRun* run = nullptr;

    private:
        MainWindow& window_;
    };
    FieldsFirst messages(*this);
    const ExportSettings settings = SettingsFromForm(form);
    ExportRun run(settings, state_.dates, messages, *services_.clock);
    messages.run = &run;
    const ExportResult result = RunExport(run);
    ApplyResult(form, result);
    WriteLists(form);
    WriteDateFields(form);
    text7_->setText(Q(form.Text7));
    if (result.outcome == ExportOutcome::ProgramMustEnd) {
        EndProgram(1);
    }
}

// ---- Start-date buttons and exit

void MainWindow::StepStartDate(int days) {
    FormState form = ReadForm();
    DateFields fields = DateFieldsOf(form);
    try {
        StepWorkDate(state_.dates, fields, u"d", days);
    } catch (const RunError& error) {
        // A step past the last or first date there is: the date stays.
        ShowFailure(error.Number());
        return;
    }
    SetDateFields(form, fields);
    WriteDateFields(form);
}

void MainWindow::RestoreStartDate() {
    FormState form = ReadForm();
    DateFields fields = DateFieldsOf(form);
    qb::RestoreStartDate(state_.dates, fields);
    SetDateFields(form, fields);
    WriteDateFields(form);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // While the notice window keeps the window disabled, its close box does nothing; the
    // program's own closing (the session ending) still goes ahead.
    if (!isEnabled() && event->spontaneous()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
    EndProgram(0);
}

void MainWindow::Quit() {
    // No file stays open between runs; the program ends at once.
    EndProgram(0);
}

}  // namespace qb::app
