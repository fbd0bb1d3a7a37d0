// The media type record and its rules. A fresh record is all zero except
// fixed-size samples (true) and sample size (1). A copy duplicates the format
// block with the task allocator and adds a reference to the owner object;
// freeing releases both and clears them. Records handed across an interface
// (enumerators) are themselves task-allocated and freed by the receiver.
#pragma once

#include "platform/media/media_interfaces.h"

void InitMediaType(AM_MEDIA_TYPE* mt);
// Deep copy into dst (whose previous content is overwritten, not freed).
// E_OUTOFMEMORY leaves dst a fresh record.
HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE* src);
void FreeMediaType(AM_MEDIA_TYPE& mt);
// A task-allocated deep copy, or null when memory runs out.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* src);
// Frees the content and the task-allocated record itself.
void DeleteMediaType(AM_MEDIA_TYPE* mt);

// True when major type or format type is left open.
bool IsPartiallySpecified(const AM_MEDIA_TYPE& mt);
// Major type, subtype and format type each equal or GUID_NULL in partial; a
// given format type also needs an equal format length and identical block.
bool MatchesPartial(const AM_MEDIA_TYPE& mt, const AM_MEDIA_TYPE& partial);

// A record that owns its format block and owner reference and frees them when
// it goes. Not copyable: copies can fail, so they go through Set().
class CMediaType : public AM_MEDIA_TYPE {
 public:
  CMediaType() { InitMediaType(this); }
  CMediaType(const CMediaType&) = delete;
  CMediaType& operator=(const CMediaType&) = delete;
  ~CMediaType() { FreeMediaType(*this); }

  // Replaces the content with a deep copy of src.
  HRESULT Set(const AM_MEDIA_TYPE& src);
  // Frees the content and makes this a fresh record.
  void Reset();
  // Moves the content into a new task-allocated record (null when memory
  // runs out, the content then stays here); this becomes a fresh record.
  AM_MEDIA_TYPE* Detach();
};
