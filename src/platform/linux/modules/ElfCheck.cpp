#include "platform/linux/modules/ElfCheck.h"

#include <elf.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace platform {

namespace {

#if UINTPTR_MAX == 0xffffffffffffffffu
using Ehdr = Elf64_Ehdr;
using Phdr = Elf64_Phdr;
constexpr unsigned char kClass = ELFCLASS64;
#else
using Ehdr = Elf32_Ehdr;
using Phdr = Elf32_Phdr;
constexpr unsigned char kClass = ELFCLASS32;
#endif

constexpr unsigned char kData =
    std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;

#if defined(__x86_64__)
constexpr int kMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr int kMachine = EM_AARCH64;
#elif defined(__i386__)
constexpr int kMachine = EM_386;
#elif defined(__arm__)
constexpr int kMachine = EM_ARM;
#elif defined(__riscv)
constexpr int kMachine = EM_RISCV;
#elif defined(__powerpc64__)
constexpr int kMachine = EM_PPC64;
#elif defined(__s390x__)
constexpr int kMachine = EM_S390;
#else
constexpr int kMachine = -1;  // unknown here: the loader judges the machine itself
#endif

// Far more program headers than any linker writes; keeps the read below small.
constexpr unsigned kMaxProgramHeaders = 1024;

bool ReadAt(int fd, void* buffer, size_t size, uint64_t offset) {
  auto* out = static_cast<char*>(buffer);
  while (size > 0) {
    ssize_t got = pread(fd, out, size, static_cast<off_t>(offset));
    if (got <= 0) return false;
    out += got;
    size -= static_cast<size_t>(got);
    offset += static_cast<uint64_t>(got);
  }
  return true;
}

bool Fail(std::string* why, const char* text) {
  if (why) *why = text;
  return false;
}

// offset + length <= size without overflow.
bool Within(uint64_t offset, uint64_t length, uint64_t size) {
  return offset <= size && length <= size - offset;
}

}  // namespace

bool IsLoadableSharedObject(int fd, std::string* why) {
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return Fail(why, "not a regular file");
  const auto fileSize = static_cast<uint64_t>(st.st_size);

  Ehdr eh{};
  if (fileSize < sizeof eh || !ReadAt(fd, &eh, sizeof eh, 0)) return Fail(why, "file too short");
  if (std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0) return Fail(why, "not an ELF file");
  if (eh.e_ident[EI_CLASS] != kClass) return Fail(why, "wrong ELF class");
  if (eh.e_ident[EI_DATA] != kData) return Fail(why, "wrong byte order");
  if (eh.e_ident[EI_VERSION] != EV_CURRENT || eh.e_version != EV_CURRENT)
    return Fail(why, "unknown ELF version");
  if (eh.e_type != ET_DYN) return Fail(why, "not a shared object");
  if (kMachine >= 0 && eh.e_machine != kMachine) return Fail(why, "built for another machine");
  if (eh.e_ehsize < sizeof eh) return Fail(why, "damaged ELF header");
  if (eh.e_phentsize != sizeof(Phdr) || eh.e_phnum == 0 || eh.e_phnum >= PN_XNUM ||
      eh.e_phnum > kMaxProgramHeaders)
    return Fail(why, "damaged program header table");
  if (!Within(eh.e_phoff, uint64_t{eh.e_phnum} * sizeof(Phdr), fileSize))
    return Fail(why, "program headers lie outside the file");

  std::vector<Phdr> headers(eh.e_phnum);
  if (!ReadAt(fd, headers.data(), headers.size() * sizeof(Phdr), eh.e_phoff))
    return Fail(why, "cannot read program headers");

  bool loadable = false;
  for (const Phdr& ph : headers) {
    if (ph.p_type == PT_NULL) continue;
    if (!Within(ph.p_offset, ph.p_filesz, fileSize))
      return Fail(why, "a segment lies outside the file");
    if (ph.p_type == PT_LOAD) {
      if (ph.p_filesz > ph.p_memsz) return Fail(why, "damaged loadable segment");
      loadable = true;
    }
  }
  if (!loadable) return Fail(why, "no loadable segment");
  return true;
}

}  // namespace platform
