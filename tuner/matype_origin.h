// Whether the card's driver derives the MATYPE bytes of its media
// information instead of receiving them with the carrier (a real card on
// Linux reports no baseband header), so the stream-information panel can say
// so beside the MATYPE box. A driver that does not tell reports what it
// received.
//
// Any thread that does not hold the driver mutex (it takes it briefly to
// copy m_pKsCtrl).
#pragma once

bool IsMatypeDerived();
