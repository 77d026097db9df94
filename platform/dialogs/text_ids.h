// The texts of the dialog library: one string of each language's file per
// id. A language's file holds every one of them (the host test
// DialogTexts.EveryLanguageHasEveryText checks it). Plain defines: the
// resource compiler reads this file too.
#pragma once

#include "platform/setup-toolkit/language_resources.h"  // ids 1 to 6: the language itself
#include "platform/dialogs/box_text_ids.h"  // setup's refusals
// The error dialogs' sentences (1100 on) are numbered by the core, which
// decides them: platform/setup-toolkit/core/failure_text_ids.h, which the
// build's list of language files includes.

// Captions.
#define IDS_CAPTION_SETUP 16
#define IDS_CAPTION_QUIT 17
#define IDS_CAPTION_ERROR 18
#define IDS_CAPTION_REMOVE 19

// Buttons; '&' marks the Alt letter.
#define IDS_BUTTON_CONTINUE 32
#define IDS_BUTTON_EXIT 33
#define IDS_BUTTON_CONTINUE_SETUP 34
#define IDS_BUTTON_EXIT_SETUP 35
#define IDS_BUTTON_OK 36
#define IDS_BUTTON_RESTART_NOW 37
#define IDS_BUTTON_RESTART_LATER 38
#define IDS_BUTTON_REMOVE 39
#define IDS_BUTTON_CANCEL 40

// The dialogs' paragraphs, by dialog.
#define IDS_WELCOME_1 100
#define IDS_WELCOME_2 101
#define IDS_WELCOME_3 102
#define IDS_QUIT_1 110
#define IDS_QUIT_2 111
#define IDS_FATAL_NO_CAUSE_1 120
#define IDS_FATAL_NO_CAUSE_2 121
#define IDS_FATAL_CAUSE_NOTE 122
#define IDS_LOG_PATH 123  // "%s" stands for the log's path
#define IDS_RESTART_1 130
#define IDS_RESTART_2 131
#define IDS_INSTALLED_1 135
#define IDS_REGISTRATION_1 140
#define IDS_REGISTRATION_NO_CAUSE 141
#define IDS_NO_WINDOWS_DIR_1 150
#define IDS_NO_WINDOWS_DIR_2 151
#define IDS_REMOVE_CONFIRM_1 160
#define IDS_REMOVE_CONFIRM_2 161
#define IDS_REMOVED_RESTART_1 170
#define IDS_REMOVED_1 180
#define IDS_NOT_INSTALLED_1 190
#define IDS_BILLBOARD_1 200
#define IDS_BILLBOARD_2 201
