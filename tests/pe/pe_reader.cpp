#include "tests/pe/pe_reader.h"

#include <algorithm>
#include <stdexcept>

namespace knotwell::pe {
namespace {

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error("PE image: " + what); }

struct Section {
    std::uint32_t virtual_address, virtual_size, raw_offset, raw_size;
};

struct DataDirectory {
    std::uint32_t rva, size;
};

enum DirectoryIndex { kExportDirectory = 0, kImportDirectory = 1, kResourceDirectory = 2 };

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> file) : file_(file) {}

    std::uint32_t Number(std::uint64_t offset, int width) const {
        Check(offset, width);
        std::uint32_t value = 0;
        for (int i = width; i-- > 0;) value = value << 8 | file_[offset + i];
        return value;
    }
    std::uint16_t U16(std::uint64_t offset) const { return static_cast<std::uint16_t>(Number(offset, 2)); }
    std::uint32_t U32(std::uint64_t offset) const { return Number(offset, 4); }

    std::span<const std::uint8_t> Bytes(std::uint64_t offset, std::uint64_t size) const {
        Check(offset, size);
        return file_.subspan(offset, size);
    }

    void ReadSections(std::uint64_t table, std::uint16_t count) {
        for (std::uint16_t i = 0; i < count; ++i) {
            const std::uint64_t s = table + 40u * i;
            sections_.push_back({U32(s + 12), U32(s + 8), U32(s + 20), U32(s + 16)});
        }
    }

    // File offset of an address of the loaded image that lies in a section's file data.
    std::uint64_t Offset(std::uint64_t rva, std::uint64_t size = 1) const {
        for (const Section& s : sections_) {
            if (rva >= s.virtual_address && rva + size <= std::uint64_t{s.virtual_address} + s.raw_size &&
                rva + size <= std::uint64_t{s.virtual_address} + std::max(s.virtual_size, s.raw_size)) {
                return s.raw_offset + (rva - s.virtual_address);
            }
        }
        Fail("address " + std::to_string(rva) + " is in no section's data");
    }

    std::string String(std::uint32_t rva) const {
        std::string text;
        for (std::uint64_t at = Offset(rva);; ++at) {
            const auto c = static_cast<char>(Number(at, 1));
            if (c == '\0') return text;
            if (text.size() == 4096) Fail("unterminated string");
            text.push_back(c);
        }
    }

private:
    void Check(std::uint64_t offset, std::uint64_t size) const {
        if (offset > file_.size() || size > file_.size() - offset) {
            Fail(std::to_string(size) + " bytes at " + std::to_string(offset) + " lie outside the file");
        }
    }

    std::span<const std::uint8_t> file_;
    std::vector<Section> sections_;
};

void ReadExports(const Reader& r, DataDirectory dir, Image& image) {
    if (dir.rva == 0) return;
    const std::uint64_t e = r.Offset(dir.rva, 40);
    image.export_dll_name = r.String(r.U32(e + 12));
    image.export_function_count = r.U32(e + 20);
    const std::uint32_t name_count = r.U32(e + 24);
    const std::uint32_t names = r.U32(e + 32);
    if (name_count > 0x10000) Fail("implausible export count");
    for (std::uint32_t i = 0; i < name_count; ++i) {
        image.export_names.push_back(r.String(r.U32(r.Offset(std::uint64_t{names} + 4 * i, 4))));
    }
}

void ReadImports(const Reader& r, DataDirectory dir, Image& image) {
    if (dir.rva == 0) return;
    for (std::uint64_t i = 0;; ++i) {
        if (i == 0x10000) Fail("import table without end");
        const std::uint64_t d = r.Offset(dir.rva + 20 * i, 20);
        const std::uint32_t name = r.U32(d + 12);
        if (name == 0 && r.U32(d + 16) == 0) return;
        image.imported_dlls.push_back(r.String(name));
    }
}

// The resource tree: type, name and language directories, each entry
// offset relative to the start of the tree.
class ResourceTree {
public:
    ResourceTree(const Reader& r, std::uint32_t base) : r_(r), base_(base) {}

    struct Entry {
        std::string id;
        std::uint32_t target;  // a subdirectory when the top bit is set
    };

    std::vector<Entry> Directory(std::uint32_t offset) const {
        const std::uint64_t d = At(offset, 16);
        const std::uint32_t count = std::uint32_t{r_.U16(d + 12)} + r_.U16(d + 14);
        std::vector<Entry> entries;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint64_t e = At(offset + 16 + 8 * std::uint64_t{i}, 8);
            entries.push_back({Id(r_.U32(e)), r_.U32(e + 4)});
        }
        return entries;
    }

    Resource Data(std::uint32_t offset) const {
        const std::uint64_t d = At(offset, 16);
        const std::uint32_t rva = r_.U32(d), size = r_.U32(d + 4);
        const auto bytes = r_.Bytes(r_.Offset(rva, size), size);
        return {{}, {}, 0, r_.U32(d + 8), {bytes.begin(), bytes.end()}};
    }

private:
    std::uint64_t At(std::uint64_t offset, std::uint64_t size) const {
        return r_.Offset(std::uint64_t{base_} + offset, size);
    }

    std::string Id(std::uint32_t field) const {
        if (!(field & 0x80000000u)) return std::string(1, '#').append(std::to_string(field));
        const std::uint64_t s = At(field & 0x7fffffffu, 2);
        const std::uint16_t length = r_.U16(s);
        std::string text;
        for (std::uint16_t i = 0; i < length; ++i) {
            const std::uint16_t c = r_.U16(At((field & 0x7fffffffu) + 2 + 2 * std::uint64_t{i}, 2));
            text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        }
        return text;
    }

    const Reader& r_;
    std::uint32_t base_;
};

std::uint32_t Subdirectory(const ResourceTree::Entry& entry) {
    if (!(entry.target & 0x80000000u)) Fail("resource " + entry.id + " is not a directory");
    return entry.target & 0x7fffffffu;
}

void ReadResources(const Reader& r, DataDirectory dir, Image& image) {
    if (dir.rva == 0) return;
    const ResourceTree tree(r, dir.rva);
    for (const auto& type : tree.Directory(0)) {
        for (const auto& name : tree.Directory(Subdirectory(type))) {
            for (const auto& language : tree.Directory(Subdirectory(name))) {
                if (language.target & 0x80000000u) Fail("resource tree deeper than three levels");
                if (!language.id.starts_with('#')) Fail("resource language is not a number");
                Resource resource = tree.Data(language.target);
                resource.type = type.id;
                resource.name = name.id;
                resource.language = static_cast<std::uint32_t>(std::stoul(language.id.substr(1)));
                image.resources.push_back(std::move(resource));
            }
        }
    }
}

}  // namespace

Image ReadImage(std::span<const std::uint8_t> file) {
    Reader r(file);
    if (r.U16(0) != 0x5a4d) Fail("no MZ signature");
    const std::uint32_t pe = r.U32(0x3c);
    if (r.U32(pe) != 0x00004550) Fail("no PE signature");
    const std::uint64_t coff = pe + 4ull;
    const std::uint64_t optional = coff + 20;
    const std::uint16_t optional_size = r.U16(coff + 16);

    Image image{};
    image.machine = r.U16(coff);
    const std::uint16_t magic = r.U16(optional);
    if (magic != 0x10b && magic != 0x20b) Fail("unknown optional header");
    image.pe32_plus = magic == 0x20b;
    const std::uint32_t directory_count = r.U32(optional + (image.pe32_plus ? 108 : 92));
    const std::uint64_t directories = optional + (image.pe32_plus ? 112 : 96);
    if (directories + 8ull * directory_count > optional + optional_size || directory_count < 3) {
        Fail("data directories do not fit the optional header");
    }
    r.ReadSections(optional + optional_size, r.U16(coff + 2));

    const auto directory = [&](DirectoryIndex i) {
        return DataDirectory{r.U32(directories + 8 * i), r.U32(directories + 8 * i + 4)};
    };
    ReadExports(r, directory(kExportDirectory), image);
    ReadImports(r, directory(kImportDirectory), image);
    ReadResources(r, directory(kResourceDirectory), image);
    return image;
}

}  // namespace knotwell::pe
