#pragma once
// The import wizard: describes the layout of a pupil-list file on three
// pages (format definition file and class filter; line convention and
// words for the genders; the fields of the first lines and their
// meanings). Every showing starts from the defaults.

#include "import/UImport.h"

#include <QDialog>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QWidget;
class TSearchFilter;

class TImportDialog : public QDialog {
    Q_OBJECT

public:
    explicit TImportDialog(QWidget* parent = nullptr);
    ~TImportDialog() override;

    // The pupil-list file that the page "Elemente" previews; named in the
    // caption.
    void setMockFileName(const QString& FName);
    TImportOptions getImportOptions() const { return Options; }
    TElements getImportElements() const { return Elements; }
    // The class filter chosen in the last showing, or nullptr. The wizard
    // keeps it until it is shown again or another filter is chosen.
    const TSearchFilter* getFilter() const { return Filter.get(); }

    // The texts of the separator box's items, in their order.
    static const QStringList& SepItems();
    // The meanings a field can be given, "(ignorieren)" first.
    static const QStringList& AssignItems();

    // Controls.
    QTabWidget* Pages;
    QWidget* GeneralPage;
    QWidget* OptionsPage;
    QWidget* ElementsPage;
    QPushButton* CancelButton;
    QPushButton* OkButton;

    QLabel* Memo1;
    QGroupBox* FormatGroup;
    QLabel* FilenameLab;
    QPlainTextEdit* CommentBox;
    QPushButton* OpenFBut;
    QPushButton* SaveFBut;
    QGroupBox* FilterGroup;
    QLabel* KlLabel;
    QPushButton* KlSelectBut;

    QLabel* Memo3;
    QGroupBox* FormatBox;
    QButtonGroup* FormatButtons;
    QLabel* FeldtrennzLabel;
    QComboBox* SepBox;
    QLabel* FeldPosLabel;
    QPushButton* UpdatePosBut;
    QLineEdit* EditM;
    QLineEdit* EditW;
    QCheckBox* CheckIgnoreErr;

    QLabel* Memo2;
    QSpinBox* NrSelect;
    QLabel* ElAnz;
    QPlainTextEdit* ExampleBox;
    QLineEdit* AssignEdit;      // the edit line above the list
    QListWidget* AssignBox;
    QPlainTextEdit* LineBox;

public slots:
    void FormatBoxClick(int index);
    // The separator box: an item picked, or a typed text taken when the
    // box is left or Enter is pressed.
    void SepBoxChange();
    void UpdatePosButClick();
    void EditMChange();
    void EditWChange();
    void CommentBoxChange();
    void CheckIgnoreErrClick();
    void PagesChange(int index);
    void NrSelectChange();
    void AssignBoxChange();
    void OpenFButClick();
    void SaveFButClick();
    void KlSelectButClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildGeneralPage();
    void buildOptionsPage();
    void buildElementsPage();
    void FormShow();
    void ShowSettings();
    void ShowFormat();
    void ShowSeparator();
    void ShowElement(int Nr);
    // The page "Elemente" without lines, fields or a highlighted meaning.
    void ClearElements();
    // The assignment list at the first meaning that field Nr has.
    void ShowAssignment(int Nr);
    QString PositionsToStr() const;
    // False (positions unchanged) when the text is not a comma list of
    // whole numbers from 0 on.
    bool StrToPositions(const QString& text, TPositions& positions) const;
    void EditPositions();
    bool LoadFormat(const QString& FName);
    bool SaveFormat(const QString& FName);
    void LineBoxMouseMove();
    // A text field that took a character no definition file can hold gets
    // its last good text back, with a beep; false then.
    bool acceptText(QLineEdit* edit, QString& lastGood);

    std::unique_ptr<TSearchFilter> Filter;
    TImportOptions Options;
    TElements Elements;
    QString mockfilename;
    QString FLastM;
    QString FLastW;
    QString FLastComment;
};

extern TImportDialog* ImportDialog;
