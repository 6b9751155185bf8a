// Prints the peak memory of the process over a session with a folder of that many audio files
// (and a twentieth as many other files): after Add Folder, after a sort by rating and after a
// sort by name; beside the peak of a plain QTableView that holds the same rows, measured in a
// second process of this program.

#include <QAbstractTableModel>
#include <QApplication>
#include <QDirIterator>
#include <QTableView>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/BenchSupport.h"

namespace {

// The floor: the same folder scanned into the rows of a plain table model, the texts that the
// list shows held as Qt holds them (one folder text shared by every row).
class PlainModel : public QAbstractTableModel {
public:
    struct Row {
        QString name;
        QString folder;
        int number = 0;
    };
    std::vector<Row> rows;

    int rowCount(const QModelIndex&) const override { return static_cast<int>(rows.size()); }
    int columnCount(const QModelIndex&) const override { return 8; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole) {
            return {};
        }
        const Row& r = rows[static_cast<std::size_t>(index.row())];
        switch (index.column()) {
            case 0:
                return r.name;
            case 1:
                return QStringLiteral("wav");
            case 2:
                return r.folder;
            case 6:
                return r.number;
            case 7:
                return QStringLiteral("Ready");
            default:
                return {};
        }
    }
};

int PlainTable(const QString& folder) {
    PlainModel model;
    QStringList names;
    // Name filters ignore letter case, as the type "Audio" does.
    const QStringList audio = {"*.wma", "*.wav", "*.aac", "*.m4a", "*.ogg", "*.mp3"};
    for (QDirIterator it(folder, audio, QDir::Files); it.hasNext();) {
        it.next();
        names.push_back(it.fileName());
    }
    names.sort();
    for (const QString& name : names) {
        model.rows.push_back({name, folder, static_cast<int>(model.rows.size()) + 1});
    }
    QTableView view;
    view.setModel(&model);
    view.show();
    QCoreApplication::processEvents();
    std::printf("%ld\n", PeakMemoryKb());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (argc > 2 && std::strcmp(argv[1], "--plain") == 0) {
        QApplication app(argc, argv);
        return PlainTable(argv[2]);
    }
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100'000;
    BenchApp app(argc, argv);
    const auto parent = BenchFolderParent();
    const QString folder = LibraryFolder(parent->path(), rows, rows / 20);

    fw::Window::CloseAll();
    auto window = Main::Instance();
    QCoreApplication::processEvents();
    const long before = PeakMemoryKb();
    app.ui->folderAnswers.push_back(folder.toStdString());
    window->OpenFolder();
    QCoreApplication::processEvents();
    const long added = PeakMemoryKb();
    auto& list = window->AlternatingList1();
    list.HeadingPressed(3);
    QCoreApplication::processEvents();
    const long ratingSorted = PeakMemoryKb();
    list.HeadingPressed(0);
    QCoreApplication::processEvents();
    const long nameSorted = PeakMemoryKb();

    QProcess plain;
    plain.start(QCoreApplication::applicationFilePath(), {"--plain", folder});
    plain.waitForFinished(-1);
    const long floor = plain.readAllStandardOutput().trimmed().toLong();

    std::printf("rows=%d listed=%d\n", rows, list.ListCount());
    std::printf("VmHWM with the empty window: %7.1f MB\n", before / 1024.0);
    std::printf("VmHWM after Add Folder:      %7.1f MB\n", added / 1024.0);
    std::printf("VmHWM after a rating sort:   %7.1f MB\n", ratingSorted / 1024.0);
    std::printf("VmHWM after a name sort:     %7.1f MB\n", nameSorted / 1024.0);
    std::printf("floor, a plain QTableView:   %7.1f MB   ratio %.2f\n", floor / 1024.0,
                floor > 0 ? static_cast<double>(nameSorted) / floor : 0.0);
    return 0;
}
