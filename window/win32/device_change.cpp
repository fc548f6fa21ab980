#include "device_change.h"

#include <dbt.h>

LRESULT RouteDeviceChange(Form1& form, WPARAM event, LPARAM data) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (!header) return TRUE;
    if (header->dbch_devicetype == DBT_DEVTYP_VOLUME && event == DBT_DEVICEARRIVAL) {
        const DWORD drives = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(data)->dbcv_unitmask;
        for (int drive = 0; drive < 26; ++drive)
            if (drives & (1u << drive)) form.Drive_Arrived(static_cast<wchar_t>(L'A' + drive));
        return TRUE;
    }
    if (header->dbch_devicetype != DBT_DEVTYP_HANDLE) return TRUE;
    switch (event) {
        case DBT_DEVICEQUERYREMOVE: form.Drive_QueryRemove(); break;
        case DBT_DEVICEQUERYREMOVEFAILED: form.Drive_RemoveFailed(); break;
        case DBT_DEVICEREMOVEPENDING:
        case DBT_DEVICEREMOVECOMPLETE: form.Drive_Removed(); break;
    }
    return TRUE;
}
