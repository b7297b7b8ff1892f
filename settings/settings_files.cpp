#include "settings/settings_files.h"

#include <algorithm>
#include <utility>

#include "log/failure.h"
#include "log/plain_text.h"
#include "settings/profile.h"

namespace loglezer {
namespace {

// The sections the program reads and their keys.
struct KnownSection {
    std::string_view name;
    std::vector<std::string_view> keys;
};

const std::vector<KnownSection>& known_sections() {
    static const std::vector<KnownSection> kSections = {
        {"path", {"log", "interface"}},
        {"allowance", {"limit", "start_day", "counts", "warn"}},
        {"display", {"units"}},
    };
    return kSections;
}

const KnownSection* known_section(std::string_view name) {
    for (const KnownSection& section : known_sections()) {
        if (same_letters(section.name, name)) return &section;
    }
    return nullptr;
}

std::string key_list(const KnownSection& section) {
    std::string list;
    for (const std::string_view key : section.keys) list += (list.empty() ? "" : ", ") + std::string(key);
    return list;
}

// The warnings of one section of a file, its first of the name.
void warn_about_keys(const std::string& file, const ProfileSection& section, const KnownSection& known,
                     std::vector<std::string>& warnings) {
    const std::string where = file + ": [" + std::string(known.name) + "] ";
    std::vector<std::string_view> seen;
    for (const ProfileKey& key : section.keys) {
        const auto is_key = [&](std::string_view k) { return same_letters(k, key.name); };
        if (std::none_of(known.keys.begin(), known.keys.end(), is_key)) {
            warnings.push_back(where + "unknown key " + quoted_setting(key.name) +
                               " is not read (its keys: " + key_list(known) + ")");
        } else if (std::any_of(seen.begin(), seen.end(), is_key)) {
            warnings.push_back(where + "key " + quoted_setting(key.name) + " given again on line " +
                               std::to_string(key.line) + " is not read (the first counts)");
        } else {
            seen.push_back(key.name);
        }
    }
}

void warn_about_file(const SettingsFile& file, std::vector<std::string>& warnings) {
    const std::optional<std::string> text = settings_text(file.path.string());
    if (!text) return;
    std::vector<const KnownSection*> seen;
    for (const ProfileSection& section : profile_sections(*text)) {
        const KnownSection* known = known_section(section.name);
        if (!known) continue;
        if (std::find(seen.begin(), seen.end(), known) != seen.end()) {
            warnings.push_back(file.name + ": section [" + std::string(known->name) + "] given again on line " +
                               std::to_string(section.line) + " is not read (the first counts)");
            continue;
        }
        seen.push_back(known);
        warn_about_keys(file.name, section, *known, warnings);
    }
}

}  // namespace

std::vector<SettingsFile> settings_files(const std::optional<std::filesystem::path>& found_through,
                                         const LogPlaces& places) {
    const std::filesystem::path local =
        places.working_dir.empty() ? std::filesystem::path() : places.working_dir / "log.ini";
    std::vector<SettingsFile> files;
    for (const std::optional<std::filesystem::path>& path :
         {found_through, local.empty() ? std::nullopt : std::optional(local), places.user_ini}) {
        if (!path) continue;
        const auto same = [&](const SettingsFile& f) { return f.path == *path; };
        if (std::any_of(files.begin(), files.end(), same)) continue;
        // The working directory's log.ini as the user calls it; any other by where it is.
        files.push_back({*path, *path == local ? std::string("log.ini") : path->lexically_normal().string()});
    }
    return files;
}

SectionTexts::SectionTexts(std::string section, std::optional<SettingsFile> file, std::vector<std::string> looked_in,
                           std::string text)
    : section_(std::move(section)), file_(std::move(file)), looked_in_(std::move(looked_in)), text_(std::move(text)) {}

std::optional<std::string> SectionTexts::value(std::string_view key) const {
    if (!file_) return std::nullopt;
    std::string text = profile_string(text_, section_, key, "");
    if (text.empty()) return std::nullopt;
    return text;
}

std::string SectionTexts::setting(std::string_view key) const {
    return (file_ ? file_->name : std::string("log.ini")) + ": [" + section_ + "] " + std::string(key);
}

SectionTexts find_section(const std::vector<SettingsFile>& files, std::string_view section) {
    std::vector<std::string> looked_in;
    for (const SettingsFile& file : files) {
        looked_in.push_back(file.name);
        std::optional<std::string> text = settings_text(file.path.string());
        if (text && has_profile_section(*text, section)) {
            return SectionTexts(std::string(section), file, std::move(looked_in), std::move(*text));
        }
    }
    return SectionTexts(std::string(section), std::nullopt, std::move(looked_in), {});
}

std::vector<std::string> settings_warnings(const std::vector<SettingsFile>& files) {
    std::vector<std::string> warnings;
    for (const SettingsFile& file : files) warn_about_file(file, warnings);
    return warnings;
}

UnitMode parse_units(std::string_view text, std::string_view setting) {
    const std::string_view trimmed = without_blanks(text);
    if (same_letters(trimmed, "binary")) return UnitMode::Binary;
    if (same_letters(trimmed, "decimal")) return UnitMode::Decimal;
    throw Failure(std::string(setting) + ": " + quoted_setting(text) + " is not binary or decimal");
}

UnitMode display_units(const std::vector<SettingsFile>& files) {
    const SectionTexts display = find_section(files, "display");
    const std::optional<std::string> units = display.value("units");
    return units ? parse_units(*units, display.setting("units")) : UnitMode::Binary;
}

std::string quoted_setting(std::string_view text) {
    std::string shown(text);
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) c = '?';
    }
    return quoted(shown, kWholeText);
}

}  // namespace loglezer
