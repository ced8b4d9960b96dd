// Ids of the setup messages in the module's string table.
#pragma once

#define IDS_SETUP_CAPTION          408
#define IDS_NOT_SUPPORTED          409
#define IDS_CLIENT_RUNNING         411
#define IDS_SELECT_LOCAL_FOLDER    433
#define IDS_NO_DRIVE_ROOT          434
#define IDS_UPGRADE_SERVICE_PACK   453

#ifdef __cplusplus
namespace zel {
constexpr int kMsgSetupCaption = IDS_SETUP_CAPTION;
constexpr int kMsgNotSupported = IDS_NOT_SUPPORTED;
constexpr int kMsgClientRunning = IDS_CLIENT_RUNNING;
constexpr int kMsgSelectLocalFolder = IDS_SELECT_LOCAL_FOLDER;
constexpr int kMsgNoDriveRoot = IDS_NO_DRIVE_ROOT;
constexpr int kMsgUpgradeServicePack = IDS_UPGRADE_SERVICE_PACK;
} // namespace zel
#endif
