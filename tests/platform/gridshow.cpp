// Shows two grids as the editors and the overview use them, to look at:
// a pupil-like editor with captions and a project-like one with a fixed
// column, and an overview in row-select mode.
// Arguments: any first one freezes four columns, a second opens the cell
// editor, a third makes the window narrow enough to scroll.
#include "platform/UApplication.h"
#include "platform/UGridWidget.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Raster"));
    auto* layout = new QHBoxLayout(&window);

    auto* editor = new TGridWidget;
    const QStringList caps{"Nr", "Name", "MinJgSt", "MaxJgSt", "MinTeiln", "MaxTeiln", "Geschl", "gesp"};
    editor->setColCount(int(caps.size()));
    editor->setRowCount(30);
    editor->setRowTexts(0, caps);
    const QStringList names{"Theater", "Fußball", "Chor", "Töpfern", "Schach", "Zirkus"};
    for (int r = 1; r < 30; ++r)
        editor->setRowTexts(r, {QString::number(r), names[r % names.size()], "5", "10", "8", "20", "-", "F"});
    for (int c = 0; c < editor->colCount(); ++c)
        editor->setColWidth(c, editor->textWidth(c == 1 ? "Mustermann Name" : caps[c]) + 10);
    editor->setFixedCols(argc > 1 ? 4 : 1);
    editor->setCurrentCell(argc > 1 ? 5 : 2, 3);

    auto* overview = new TGridWidget;
    overview->setColCount(4);
    overview->setRowCount(6);
    overview->setRowTexts(0, {"Klasse", "Schüler", "Einget.", "Erstw."});
    for (int r = 1; r < 6; ++r)
        overview->setRowTexts(r, {QStringLiteral("%1a").arg(4 + r), "25", "20", "12"});
    overview->setFixedCols(1);
    overview->setEditingAllowed(false);
    overview->setRowSelect(true);
    overview->setFixedWidth(200);
    overview->setColWidth(0, 45);
    for (int c = 1; c < 4; ++c)
        overview->setColWidth(c, 40);
    overview->setCurrentCell(1, 2);

    layout->addWidget(editor, 1);
    layout->addWidget(overview);
    window.resize(argc > 3 ? 520 : 760, 420);
    window.move(0, 0);
    window.show();
    editor->setFocus();
    if (argc > 3)
        QTimer::singleShot(200, [editor] { editor->setCurrentCell(7, 3); });
    if (argc > 2)
        QTimer::singleShot(300, [editor] { editor->beginEdit(); });
    return app.exec();
}
