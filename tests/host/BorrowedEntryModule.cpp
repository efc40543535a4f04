// A module with the effect's registration resource (copied in after linking) and no entry
// point of its own; it uses its library, so the library stays among its dependencies.
extern "C" int BorrowedEntryLibraryVersion();

extern "C" __attribute__((visibility("default"))) int BorrowedEntryModuleVersion() {
  return BorrowedEntryLibraryVersion();
}
