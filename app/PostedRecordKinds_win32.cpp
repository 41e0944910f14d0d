#include "app/PostedRecordKinds_win32.h"

#include "calibration/MappingClosedRecord.h"
#include "device/DeviceRequest.h"
#include "platform/Messages.h"

namespace {
// Every reply the device thread posts, and the mapping dialog's record.
const PostedRecordKind kRecords[] = {
    PostedRecord<DeviceReply>(WM_VERSION_REPLY),
    PostedRecord<DeviceReply>(WM_SERIAL_REPLY),
    PostedRecord<DeviceReply>(WM_DIAGNOSTICS_HEADER_REPLY),
    PostedRecord<DeviceReply>(WM_DIAGNOSTICS_DATA_REPLY),
    PostedRecord<DeviceReply>(WM_TOUCH_POINT),
    PostedRecord<MappingClosedRecord>(WM_MAPPING_CLOSED),
    PostedRecord<DeviceReply>(WM_OPENING_REPLY),
    PostedRecord<DeviceReply>(WM_UPDATE_REPLY),
    PostedRecord<DeviceReply>(WM_NUMBER_READ_REPLY),
    PostedRecord<DeviceReply>(WM_NUMBER_WRITE_REPLY),
};
} // namespace

std::span<const PostedRecordKind> ProgramPostedRecords() { return kRecords; }
