// The folder tree's control id and the commands of its four context menus.
#pragma once

namespace qv5 {

inline constexpr int kFolderTreeControl = 1075;

enum TreeCommand : int {
    // A root item's menu.
    kCmdRootOpen = 32830,
    kCmdRootRefresh = 32831,
    kCmdRootNewFolder = 32832,
    kCmdRootRename = 32834,
    kCmdRootCut = 32845,
    kCmdRootPaste = 32843,
    kCmdRootExclude = 32833,
    kCmdRootWavToOgg = 32857,
    kCmdRootOggToWav = 32859,
    kCmdRootBmpToPng = 32872,
    kCmdRootPngToBmp = 32873,
    kCmdRootWavAndBmp = 32874,
    // A folder's menu.
    kCmdFolderOpen = 32806,
    kCmdFolderRefresh = 32807,
    kCmdFolderRename = 32808,
    kCmdFolderCut = 32840,
    kCmdFolderPaste = 32841,
    kCmdFolderNewFolder = 32810,
    kCmdFolderDelete = 32811,
    kCmdFolderHiddenSearch = 32812,
    kCmdFolderWavToOgg = 32814,
    kCmdFolderOggToWav = 32815,
    kCmdFolderBmpToPng = 32864,
    kCmdFolderPngToBmp = 32865,
    kCmdFolderWavAndBmp = 32866,
    // A chart's menu.
    kCmdPlayChart = 32821,
    kCmdAutoplayChart = 32837,
    kCmdChartTags = 32879,
    kCmdChartBmsEditor = 32823,
    kCmdChartRanking = 32824,
    kCmdChartTextEditor = 32825,
    kCmdChartRename = 32826,
    kCmdChartDelete = 32827,
    kCmdMovieAutoplay = 32856,
    kCmdMovieBgaOnly = 32876,
    kCmdMovieReplay = 32875,
    kCmdBgmWav = 32855,
    kCmdBgmMp3 = 32854,
    // Any other file's menu.
    kCmdFileTextEditor = 32836,
    kCmdFileRename = 32828,
    kCmdFileDelete = 32829,
};

}  // namespace qv5
