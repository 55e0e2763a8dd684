#include "engine/UOptionsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

class TOptionsWindow final : public QDialog {
public:
    TOptionsWindow(bool variation, bool verify)
        : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    {
        setObjectName(QStringLiteral("OptionsDialog"));
        setWindowTitle(QStringLiteral("Einteilungs-Optionen"));
        auto* bevel = new QFrame(this);
        bevel->setObjectName(QStringLiteral("Bevel1"));
        bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bevel->setGeometry(8, 8, 241, 113);

        auto* label = new QLabel(QStringLiteral("Algorithmus:"), this);
        label->setObjectName(QStringLiteral("Label1"));
        label->move(16, 32);
        label->adjustSize();

        ComboBox1 = new QComboBox(this);
        ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
        ComboBox1->addItem(QStringLiteral("Original zuv Algorithmus"));
        ComboBox1->setGeometry(std::max(88, label->geometry().right() + 8), 24,
                               std::max(145, ComboBox1->sizeHint().width()), ComboBox1->sizeHint().height());

        CheckVariation = new QCheckBox(QStringLiteral("Variation (Projekt-Füllen bevorzugen)"), this);
        CheckVariation->setObjectName(QStringLiteral("CheckVariation"));
        CheckVariation->setGeometry(16, 64, std::max(217, CheckVariation->sizeHint().width()),
                                    std::max(17, CheckVariation->sizeHint().height()));
        CheckVariation->setChecked(variation);

        CheckVerify = new QCheckBox(QStringLiteral("Einteilung optimieren"), this);
        CheckVerify->setObjectName(QStringLiteral("CheckVerify"));
        CheckVerify->setGeometry(16, 88, std::max(193, CheckVerify->sizeHint().width()),
                                 std::max(17, CheckVerify->sizeHint().height()));
        CheckVerify->setChecked(verify);

        auto* ok = new QPushButton(QStringLiteral("OK"), this);
        ok->setObjectName(QStringLiteral("Button1"));
        // The layout grows where the platform's font needs more room than
        // the classic pixel positions give.
        const int right = std::max({233, ComboBox1->geometry().right(), CheckVariation->geometry().right(),
                                    CheckVerify->geometry().right()});
        const int width = right + 23;
        bevel->resize(width - 15, 113);
        ok->setGeometry(width - 80, 136, 75, 25);
        setFixedSize(width, 172);
        ok->setDefault(true);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    }

    QComboBox* ComboBox1;
    QCheckBox* CheckVariation;
    QCheckBox* CheckVerify;

protected:
    void showEvent(QShowEvent* event) override
    {
        ComboBox1->setCurrentIndex(0);
        QDialog::showEvent(event);
    }
};

TOptionsDialog::~TOptionsDialog()
{
    FreeWindow();
}

bool TOptionsDialog::Execute()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    if (!FWindow)
        FWindow = new TOptionsWindow(FVariation, FVerify);
    FWindow->exec();
    FVariation = FWindow->CheckVariation->isChecked();
    FVerify = FWindow->CheckVerify->isChecked();
    return true;
}

void TOptionsDialog::FreeWindow()
{
    delete FWindow;
    FWindow = nullptr;
}
