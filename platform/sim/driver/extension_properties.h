// The card's tuner extension property set as the simulated driver sees it on
// the wire: the layouts every card backend shares (driver_records.h), under
// the names the simulated driver uses.
#pragma once

#include "platform/media/bda_interfaces.h"
#include "platform/media/driver_records.h"

namespace sim {

using driver::kPropertyDiseqcMessage;
using driver::kPropertyMediaInfo;
using driver::kPropertyStreamType;
using driver::kPropertyInputStreamId;
using driver::kDiseqcRecordSize;
using driver::kDiseqcLengthOffset;
using driver::kDiseqcMaxLength;
using driver::kStreamTypeRecordSize;
using driver::kMediaInfoSize;
using driver::kInputStreamIdOffset;
using driver::PropertyDirections;
using driver::RecordSize;
using driver::E_PROP_ID_UNSUPPORTED;
using driver::E_PROP_SET_UNSUPPORTED;
using driver::E_INSUFFICIENT_BUFFER;

static_assert(driver::kSupportGet == KSPROPERTY_SUPPORT_GET && driver::kSupportSet == KSPROPERTY_SUPPORT_SET);

}  // namespace sim
