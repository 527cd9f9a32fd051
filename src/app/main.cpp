#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    QLabel label(QStringLiteral("Tolvane"));
    label.show();
    return QApplication::exec();
}
