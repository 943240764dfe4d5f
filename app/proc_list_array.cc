// The ProcListArray: the loaded lists, oldest first, kept in a byte block
// of exactly one pointer per list.
#include <string.h>

#include <new>

#include "app/byte_block.h"
#include "app/proc_driver.h"

int ProcListCount = 0;

namespace {

ByteBlock ProcListStorage;

ProcList* Entries() {
  return reinterpret_cast<ProcList*>(
      const_cast<unsigned char*>(ProcListStorage.Data()));
}

}  // namespace

bool AddProcList(ProcList list) {
  if (!list) return false;
  const unsigned oldSize =
      static_cast<unsigned>(ProcListCount) * sizeof(ProcList);
  unsigned char* grown =
      new (std::nothrow) unsigned char[oldSize + sizeof(ProcList)];
  if (!grown) return false;
  if (oldSize) memcpy(grown, ProcListStorage.Data(), oldSize);
  memcpy(grown + oldSize, &list, sizeof(ProcList));
  ProcListStorage.Adopt(grown, oldSize + sizeof(ProcList));
  ++ProcListCount;
  return true;
}

int RemoveProcList(ProcList list) {
  for (int k = ProcListCount - 1; k >= 0; --k) {
    if (Entries()[k] != list) continue;
    const unsigned remaining =
        static_cast<unsigned>(ProcListCount - 1) * sizeof(ProcList);
    // The entries after k close up in place; then the block is made again
    // of exactly the entries left. Should that copy fail, the block keeps
    // its size, but only the first ProcListCount entries are ever read.
    memmove(Entries() + k, Entries() + k + 1,
            static_cast<unsigned>(ProcListCount - 1 - k) * sizeof(ProcList));
    if (remaining == 0) {
      ProcListStorage.Release();
    } else if (unsigned char* rebuilt =
                   new (std::nothrow) unsigned char[remaining]) {
      memcpy(rebuilt, ProcListStorage.Data(), remaining);
      ProcListStorage.Adopt(rebuilt, remaining);
    }
    --ProcListCount;
    return ProcListCount;
  }
  return ProcListCount;
}

ProcList ProcListAt(int index) {
  if (index < 0 || index >= ProcListCount) return 0;
  return Entries()[index];
}

ProcList CurrentProcList() {
  if (ProcListCount == 0) return 0;
  return ProcListAt(ProcListCount - 1);
}
