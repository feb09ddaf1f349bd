// What listing a large root costs in the folder tree: a root of many song
// folders (the usual layout of a big library) listed into the tree, against
// the bare folder listing it is built from. Prints the ratio; the tree's own
// work (items, icons, sorting) is what lies above 1.
#include <stdlib.h>
#include <sys/stat.h>

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "chart_gen.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "window/tree/folder_tree.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int folders = argc > 1 ? std::atoi(argv[1]) : 20000;
    char dir[] = "/tmp/qv5treebenchXXXXXX";
    if (!mkdtemp(dir)) return 1;
    const std::string root = std::string(dir) + "/songs";
    ::mkdir(root.c_str(), 0755);
    // Created in an order that is not the sorted one.
    for (int i = 0; i < folders; ++i) {
        const std::string name = root + "/Song " + std::to_string((i * 7919) % folders);
        ::mkdir(name.c_str(), 0755);
    }
    qv5::SetProgramDirectory(dir);
    double best_list = 1e9, best_tree = 1e9;
    for (int trial = 0; trial < 5; ++trial) {
        double start = qv5::bench::Now();
        std::vector<qv5::DirEntry> entries;
        qv5::ListFolder("songs\\", entries, qv5::ListDetail::NamesAndKinds);
        best_list = std::min(best_list, qv5::bench::Now() - start);

        qv5::FolderTree tree;
        start = qv5::bench::Now();
        tree.InsertRoot(qv5::WinPath("songs\\"));
        best_tree = std::min(best_tree, qv5::bench::Now() - start);
        if (tree.topLevelItem(0)->childCount() != folders) return 1;
    }
    std::filesystem::remove_all(dir);
    std::printf("folders: %d, ListFolder: %.3f s, FolderTree::InsertRoot: %.3f s\n", folders,
                best_list, best_tree);
    std::printf("ratio tree/listing: %.2f\n", best_tree / best_list);
    return 0;
}
