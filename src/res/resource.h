// Resource identifiers shared by the resource script and the code. Only #define lines here.
#pragma once

#define IDI_APP          128
#define IDD_INSTALL_JAVA 135

#define IDC_PROMPT_TEXT          1007
#define IDC_BOUNDS_TEXT          1008
#define IDC_INSTALL_JAVA_NOW     1009
#define IDC_SELECT_EXISTING_JAVA 1010

#define IDS_WINDOWS_KEY           6000
#define IDS_WINDOWS_NT_KEY        6001
#define IDS_JAVASOFT_KEY          7000
#define IDS_MIN_JAVA_VERSION      7001
#define IDS_MAX_JAVA_VERSION      7002
#define IDS_INSTALLER_FILE        7004
#define IDS_OPTIONS_KEY           7006
#define IDS_OPTIONS_VALUE         7007
#define IDS_SETTINGS_KEY          8000
#define IDS_DISPLAY_NAME          8001
#define IDS_ARGS_KEY              8003
#define IDS_ARGS_VALUE            8004
#define IDS_EXTRA_CLASSPATH_KEY   8006
#define IDS_EXTRA_CLASSPATH_VALUE 8007
#define IDS_JARDIR_KEY            8009
#define IDS_JARDIR_VALUE          8010
#define IDS_SELECTED_VERSION_IS   9000
#define IDS_MUST_SELECT_VERSION   9001
#define IDS_OR_HIGHER             9002
#define IDS_REQUIRES_JAVA         9003
#define IDS_NO_INSTALLER          9004
#define IDS_WILL_NOT_RUN          9005
#define IDS_JAVA_ENDED            9006
#define IDS_JAVA_REFUSED          9007
#define IDS_CLASSPATH_TOO_LONG    9008
#define IDS_COMMAND_TOO_LONG      9009
#define IDS_SEE_LOG               9010
#define IDS_LOG_FILE              9011
#define IDS_JAVA_CRASHED          9012
#define IDS_JAVA_REPORT           9013
#define IDS_CANNOT_PASS           9014
#define IDS_NO_SHORT_NAMES        9015
#define IDS_NO_SUCH_FILE          9016
#define IDS_STARTS_WITHOUT        9017
#define IDS_STARTS_NOTHING        9018
#define IDS_NO_LOG                9019
#define IDS_NO_LOG_ELEVATED       9020
#define IDS_NO_LOG_LINK           9021
#define IDS_APP_ID                9022
#define IDS_JAVA_ENDED_AFTER      9023
