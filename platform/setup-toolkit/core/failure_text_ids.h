// The ids of the sentences that tell a person about a failure, in every
// language's file of the dialog library; the core decides which one applies
// and with what inserts (%1, %2). Plain defines: the resource compiler reads
// this file too.
#pragma once

// What failed; %1: the file, folder, service or key.
#define IDS_FAIL_READ 1100
#define IDS_FAIL_WRITE 1101
#define IDS_FAIL_WRITE_FOLDER 1102
#define IDS_FAIL_FIND 1103
#define IDS_FAIL_CREATE_FOLDER 1104
#define IDS_FAIL_COPY 1105
#define IDS_FAIL_DELETE 1106
#define IDS_FAIL_DELETE_AT_BOOT 1107
#define IDS_FAIL_OPEN_SCM 1108
#define IDS_FAIL_CREATE_SERVICE 1109
#define IDS_FAIL_OPEN_SERVICE 1110
#define IDS_FAIL_QUERY_CONFIG 1111
#define IDS_FAIL_SET_START 1112
#define IDS_FAIL_STOP_SERVICE 1113
#define IDS_FAIL_QUERY_STATUS 1114
#define IDS_FAIL_DELETE_SERVICE 1115
#define IDS_FAIL_DELETE_KEY 1116
#define IDS_FAIL_OTHER 1117     // %1: the call and what it was done to
#define IDS_FAIL_RECORDED 1118  // %1: the record's own text, as the log has it
// Why: %1 the system's text, %2 the error code.
#define IDS_FAIL_REASON 1120
#define IDS_FAIL_REASON_CODE 1121  // %1: the code; the system has no text for it
// What to do.
#define IDS_ADVICE_DISK_FOR 1130  // %1: the file's name
#define IDS_ADVICE_DISK 1131
#define IDS_ADVICE_DAMAGED 1132
#define IDS_ADVICE_SPACE 1133
#define IDS_ADVICE_SPACE_DRIVE 1134  // %1: the drive letter
#define IDS_ADVICE_SPACE_SHARE 1135  // %1: \\server\share
#define IDS_ADVICE_WRITE_PROTECT 1136
#define IDS_ADVICE_ADMIN 1137
#define IDS_ADVICE_CLOSE 1138  // %1: the file's name
#define IDS_ADVICE_SIGNATURE 1139
