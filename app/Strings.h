// Every text that the program shows, defined once.
#pragma once

#include "app/Version.h"

// Window titles.
inline constexpr const char kTitleStart[] = "Lintaro " LINTARO_VERSION " by Quorvel";
inline constexpr const char kTitleNoFile[] = "Lintaro by Quorvel";
inline constexpr const char kTitleLoading[] = "Loading...";
inline constexpr const char kTitleDisplayingAll[] = "Displaying all...";
inline constexpr const char kTitlePicking[] = "Picking...";
inline constexpr const char kTitlePickingDuplicates[] = "Picking duplicates...";
inline constexpr const char kTitleSaving[] = "Saving...";

// Message box captions.
inline constexpr const char kCaptionError[] = "Error";
inline constexpr const char kCaptionInfo[] = "Info";
inline constexpr const char kCaptionHelp[] = "Help";

// Messages.
inline constexpr const char kFailedToOpen[] = "Failed to open file.";
inline constexpr const char kFileChanged[] = "The file changed on disk.";
inline constexpr const char kInfoFormat[] =
    "File\nRows   : %ld\nColumns: %ld\n\nDisplayed\nRows   : %ld";
inline constexpr const char kEnterMatch[] = "Please enter the string wich the pick will match.";
inline constexpr const char kNoMatches[] = "Could not find any matches...";
inline constexpr const char kOpenFileFirst[] = "Open a file first!";
inline constexpr const char kHelpModeOn[] =
    "Brings up help messages when you select a menu option.";
inline constexpr const char kNoHelp[] = "No help available for this option.";
inline constexpr const char kSelectRowFirst[] = "Select a row first.";
inline constexpr const char kTooMuchToCopy[] =
    "The listed rows are too much to copy.\nSave them to a file instead.";
inline constexpr const char kFailedToCopy[] = "Failed to copy to the clipboard.";
inline constexpr const char kSaveOverOpenFile[] =
    "The open file is never changed.\nPlease choose another file.";
inline constexpr const char kFailedToSave[] = "Failed to save file.";
inline constexpr const char kNoRowsListed[] = "No rows are listed.";
inline constexpr const char kGoToRowRangeFormat[] = "Please enter a row number from 1 to %ld.";

// Column titles without a header line.
inline constexpr const char kColumnTitleFormat[] = "Column %ld";

// Field chooser captions.
inline constexpr const char kPickCaption[] = "Pick";
inline constexpr const char kFindCaption[] = "Find";
inline constexpr const char kDuplicatesCaption[] = "Pick duplicates";

// The list's dialogs.
inline constexpr const char kRowDetailsCaption[] = "Row details";
inline constexpr const char kGoToRowCaption[] = "Go to row";
inline constexpr const char kGoToRowLabelFormat[] = "Row number, from 1 to %ld:";
inline constexpr const char kOkButton[] = "OK";
inline constexpr const char kCancelButton[] = "Cancel";
inline constexpr const char kCloseButton[] = "Close";

// The list's context menu: the submenu of recent files, and the start of each of its items, the
// file's number as its key, before the file's path.
inline constexpr const char kRecentFilesMenu[] = "Recent &files";
inline constexpr const char kRecentFileKeyFormat[] = "&%zu ";

// The file dialogs' filter list: description and pattern pairs, ended by an empty entry.
inline constexpr const char kOpenFilter[] = "QDX file (*.qdx)\0*.qdx\0All files (*.*)\0*.*\0";

// The About box and its item on the system menu.
inline constexpr const char kAboutText[] =
    "Lintaro Version " LINTARO_VERSION
    "\nA viewer for .qdx files.\n\nThe file on disk is never "
    "changed.";
inline constexpr const char kAboutBoxItem[] = "&About Lintaro...";

// The .qdx file type as Register writes it to the shell's file-type keys.
inline constexpr const char kQdxExtension[] = "qdx";
inline constexpr const char kQdxTypeName[] = "QDX file";
inline constexpr const char kQdxDescription[] = "Sekvential file";
inline constexpr const char kQdxVerb[] = "&Open";
// The keys that Unregister deletes, deepest first.
inline constexpr const char* const kQdxUnregisterKeys[] = {
    "QDX file\\shell\\Open\\command", "QDX file\\shell\\Open", "QDX file\\DefaultIcon"};
