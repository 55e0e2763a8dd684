#include "engine/UAussortForm.h"

#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QWidget>

namespace {

QStringList projectLines(const TProNodeList& list)
{
    QStringList lines;
    lines.reserve(qsizetype(list.size()));
    for (const TProNode* node : list)
        lines.append(QStringLiteral("Projekt %1 (%2/%3-%4)")
                         .arg(node->nr)
                         .arg(node->count)
                         .arg(node->min)
                         .arg(node->max));
    return lines;
}

void addLabel(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(x, y);
    label->adjustSize();
}

void addListBox(QWidget* parent, const char* name, QStringListModel* model, int x, int y, int w,
                int h)
{
    auto* box = new QListView(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditTriggers(QAbstractItemView::NoEditTriggers);
    box->setModel(model);
    box->setGeometry(x, y, w, h);
}

} // namespace

TAussortForm::~TAussortForm()
{
    FreeWindow();
}

void TAussortForm::ShowLists(const TProNodeList& from, const TProNodeList& to)
{
    ensureWindow();
    FromLines.setStringList(projectLines(from));
    ToLines.setStringList(projectLines(to));
}

void TAussortForm::Log(const std::string& line)
{
    ensureWindow();
    const int row = LogLines.rowCount();
    LogLines.insertRows(row, 1);
    LogLines.setData(LogLines.index(row), QString::fromStdString(line));
}

void TAussortForm::FreeWindow()
{
    delete FWindow;
    FWindow = nullptr;
}

void TAussortForm::ensureWindow()
{
    if (FWindow || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    FWindow = new QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    FWindow->setObjectName(QStringLiteral("AussortForm"));
    FWindow->setWindowTitle(QStringLiteral("Fortgang der Umverteilung ..."));
    FWindow->setFixedSize(294, 314);
    addLabel(FWindow, "FromListLabel", QStringLiteral("aus Projekt"), 24, 8);
    addLabel(FWindow, "Label3", QStringLiteral("=>"), 144, 8);
    addLabel(FWindow, "ToListLabel", QStringLiteral("nach Projekt"), 168, 8);
    addListBox(FWindow, "FromListBox", &FromLines, 16, 32, 129, 129);
    addListBox(FWindow, "ToListBox", &ToLines, 152, 32, 129, 129);
    addListBox(FWindow, "LogBox", &LogLines, 16, 168, 265, 97);
    auto* ok = new QPushButton(QStringLiteral("OK"), FWindow);
    ok->setObjectName(QStringLiteral("OkBut"));
    ok->setGeometry(208, 280, 75, 25);
    QObject::connect(ok, &QPushButton::clicked, FWindow, &QWidget::close);
}
