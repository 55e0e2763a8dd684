#pragma once
// The About box: a picture, a framed block of information and "OK".

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* VersionLabel = nullptr;
    QPushButton* OkBut = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
};

extern TAboutBox* AboutBox;
