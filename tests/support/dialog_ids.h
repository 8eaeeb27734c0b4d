#pragma once
// The wizard's control ids as the tests drive them, written down once from the
// dialog tables (not taken from the program's own resource header).

// options page (template 101)
constexpr int kFolder = 1000, kReadyFolder = 1010, kDesktop = 1011, kGroup = 1012,
              kCurrentUser = 1016, kAllUsers = 1017, kNone = 1019, kThumbs = 1021,
              kLink = 1045;
// what's new (108)
constexpr int kWhatsNewText = 1000;
// file types (104)
constexpr int kSelectAll = 1080, kSelectNone = 1081, kImagesOnly = 1091, kList = 1579;
// ready page (109)
constexpr int kIniInFolder = 1038, kIniInAppData = 1039, kNoticeId = 1044;
// finish page (110)
constexpr int kStartViewer = 1020, kShowFaq = 1022;
// the sheet's wizard buttons
constexpr int kBack = 0x3023, kNext = 0x3024;
