#include "engine/UOptionsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

class TOptionsWindow final : public QDialog {
public:
    TOptionsWindow(bool variation, bool verify)
        : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    {
        setObjectName(QStringLiteral("OptionsDialog"));
        setWindowTitle(QStringLiteral("Einteilungs-Optionen"));
        setFixedSize(256, 172);

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
        ComboBox1->setGeometry(88, 24, 145, ComboBox1->sizeHint().height());

        CheckVariation = new QCheckBox(QStringLiteral("Variation (Projekt-Füllen bevorzugen)"), this);
        CheckVariation->setObjectName(QStringLiteral("CheckVariation"));
        CheckVariation->setGeometry(16, 64, 217, 17);
        CheckVariation->setChecked(variation);

        CheckVerify = new QCheckBox(QStringLiteral("Einteilung optimieren"), this);
        CheckVerify->setObjectName(QStringLiteral("CheckVerify"));
        CheckVerify->setGeometry(16, 88, 193, 17);
        CheckVerify->setChecked(verify);

        auto* ok = new QPushButton(QStringLiteral("OK"), this);
        ok->setObjectName(QStringLiteral("Button1"));
        ok->setGeometry(176, 136, 75, 25);
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
