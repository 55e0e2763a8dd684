#include "app/UAboutBox.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Über kestrin ..."));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("ProgramIcon"));
    picture->setFixedSize(49, 49);
    picture->setPixmap(QIcon::fromTheme(QStringLiteral("x-office-address-book")).pixmap(48, 48));
    picture->setAlignment(Qt::AlignCenter);

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Bevel"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    auto* product = new QLabel(QStringLiteral("<b>kestrin</b>"), frame);
    product->setObjectName(QStringLiteral("ProductName"));
    auto* purpose = new QLabel(QStringLiteral("Verteilt die Schülerinnen und Schüler einer Schule\n"
                                              "auf die Projekte eines Projekttages."),
                               frame);
    purpose->setObjectName(QStringLiteral("Comments"));
    auto* engine = new QLabel(QStringLiteral("Einteilung mit der Bibliothek orvan32."), frame);
    engine->setObjectName(QStringLiteral("Copyright"));
    VersionLabel = new QLabel(frame);
    VersionLabel->setObjectName(QStringLiteral("VersionLabel"));

    auto* info = new QVBoxLayout(frame);
    info->addWidget(product);
    info->addWidget(VersionLabel);
    info->addSpacing(6);
    info->addWidget(purpose);
    info->addWidget(engine);

    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addWidget(frame, 1);

    OkBut = new QPushButton(QStringLiteral("OK"), this);
    OkBut->setObjectName(QStringLiteral("OkBut"));
    OkBut->setDefault(true);
    connect(OkBut, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkBut);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TAboutBox::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TAboutBox::FormShow()
{
    VersionLabel->setText(QStringLiteral("Version 1.1 vom 1 Apr 2011"));
}
