// A private, empty HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE for the length of one test.
//
// BeginRegistrySandbox creates a fresh scratch key under the real
// HKEY_CURRENT_USER\Software\Kivet Tests (named after the process id and a counter, so tests
// running in parallel processes never meet) and points this process's HKEY_CURRENT_USER at it
// with RegOverridePredefKey, and HKEY_LOCAL_MACHINE at its subkey "Machine". Every
// RegCreateKeyExW / RegOpenKeyExW on either with a subkey path then lands inside the scratch
// key. EndRegistrySandbox restores the real mappings and deletes the scratch key with
// everything below it. Header only: include it and go.
//
// Everything in the process that reads either key through its predefined handle sees the
// empty scratch keys while the sandbox is active, the platform's own libraries included.
//
// Use the fixture RegistrySandboxTest, or call the pair yourself (End is safe to call twice).
// The helpers below work on paths relative to HKEY_CURRENT_USER, or to the `root` given,
// that is, inside the sandbox.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "support/platform_fixture.h"

namespace registry_sandbox_detail {
inline HKEY scratchKey = nullptr;
inline HKEY deletedKey = nullptr;
inline HKEY machineKey = nullptr;
inline wchar_t scratchPath[96] = L"";
inline unsigned scratchCounter = 0;
constexpr const wchar_t* ScratchParent = L"Software\\Kivet Tests";
} // namespace registry_sandbox_detail

inline void EndRegistrySandbox();

// False when the scratch key cannot be made or the mapping cannot be changed (nothing is
// then overridden), or when a sandbox is already active.
inline bool BeginRegistrySandbox() {
    using namespace registry_sandbox_detail;
    if (scratchKey != nullptr) {
        return false;
    }
    swprintf(scratchPath, sizeof(scratchPath) / sizeof(scratchPath[0]), L"%ls\\%lu-%u",
             ScratchParent, GetCurrentProcessId(), ++scratchCounter);
    HKEY key = nullptr;
    RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath); // leftovers of a crashed run with this id
    if (RegCreateKeyExW(HKEY_CURRENT_USER, scratchPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    if (RegOverridePredefKey(HKEY_CURRENT_USER, key) != ERROR_SUCCESS) {
        RegCloseKey(key);
        RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath);
        RegDeleteKeyW(HKEY_CURRENT_USER, scratchPath);
        return false;
    }
    scratchKey = key;
    if (RegCreateKeyExW(key, L"Machine", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &machineKey,
                        nullptr) != ERROR_SUCCESS ||
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, machineKey) != ERROR_SUCCESS) {
        EndRegistrySandbox();
        return false;
    }
    return true;
}

// Restores the real keys and deletes the scratch key.
inline void EndRegistrySandbox() {
    using namespace registry_sandbox_detail;
    if (scratchKey == nullptr) {
        return;
    }
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (machineKey != nullptr) {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegCloseKey(machineKey);
        machineKey = nullptr;
    }
    if (deletedKey != nullptr) {
        RegCloseKey(deletedKey);
        deletedKey = nullptr;
    }
    RegCloseKey(scratchKey);
    scratchKey = nullptr;
    RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath);
    RegDeleteKeyW(HKEY_CURRENT_USER, scratchPath);
    RegDeleteKeyW(HKEY_CURRENT_USER, ScratchParent); // fails harmlessly while others use it
}

// Creates the key (and the keys above it) inside the sandbox and sets one value with exactly
// the bytes given, whatever the type claims.
//
// RegSetValueExW adds a terminator to string data whose last unit is not zero when the unit
// right after the data is zero (Windows does it, and Wine copies it). The data is therefore
// written from a copy followed by a non-zero unit, so unterminated text stays unterminated.
inline LSTATUS WriteTestValue(const wchar_t* keyPath, const wchar_t* name, DWORD type,
                              const void* data, DWORD bytes, HKEY root = HKEY_CURRENT_USER) {
    HKEY key = nullptr;
    LSTATUS status =
        RegCreateKeyExW(root, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    std::vector<BYTE> exact(bytes + 4, 0xFF);
    if (bytes != 0) {
        memcpy(exact.data(), data, bytes);
    }
    status = RegSetValueExW(key, name, 0, type, data != nullptr ? exact.data() : nullptr, bytes);
    RegCloseKey(key);
    return status;
}

// A REG_SZ with its terminator.
inline LSTATUS WriteTestString(const wchar_t* keyPath, const wchar_t* name,
                               const std::wstring& text, HKEY root = HKEY_CURRENT_USER) {
    return WriteTestValue(keyPath, name, REG_SZ, text.c_str(),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)), root);
}

inline LSTATUS WriteTestDword(const wchar_t* keyPath, const wchar_t* name, DWORD value,
                              HKEY root = HKEY_CURRENT_USER) {
    return WriteTestValue(keyPath, name, REG_DWORD, &value, sizeof(value), root);
}

// Creates a volatile key inside the sandbox. The registry refuses to create a lasting
// (non-volatile) key below a volatile one, which lets a test make key creation fail.
inline LSTATUS CreateVolatileTestKey(const wchar_t* keyPath) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, REG_OPTION_VOLATILE,
                                     KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        RegCloseKey(key);
    }
    return status;
}

// Until the sandbox ends, points HKEY_CURRENT_USER at a key that has been deleted, so that
// every open and create below it fails with ERROR_KEY_DELETED (a failure that is neither
// success nor ERROR_FILE_NOT_FOUND). The sandbox's own contents stay as they were.
inline bool PointSandboxAtDeletedKey() {
    using namespace registry_sandbox_detail;
    if (scratchKey == nullptr || deletedKey != nullptr) {
        return false;
    }
    const wchar_t doomed[] = L"Kivet Deleted Root";
    HKEY key = nullptr;
    if (RegCreateKeyExW(scratchKey, doomed, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    if (RegDeleteKeyW(scratchKey, doomed) != ERROR_SUCCESS ||
        RegOverridePredefKey(HKEY_CURRENT_USER, key) != ERROR_SUCCESS) {
        RegCloseKey(key);
        return false;
    }
    deletedKey = key;
    return true;
}

// Points HKEY_CURRENT_USER back at the sandbox after PointSandboxAtDeletedKey.
inline void PointSandboxBackAtScratchKey() {
    using namespace registry_sandbox_detail;
    if (scratchKey == nullptr || deletedKey == nullptr) {
        return;
    }
    RegOverridePredefKey(HKEY_CURRENT_USER, scratchKey);
    RegCloseKey(deletedKey);
    deletedKey = nullptr;
}

inline bool TestKeyExists(const wchar_t* keyPath, HKEY root = HKEY_CURRENT_USER) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

struct TestRegistryValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
    // The data read as UTF-16, terminator included when it was stored.
    std::wstring Units() const {
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                            bytes.size() / sizeof(wchar_t));
    }
};

// The value's type and exact bytes; exists is false when the key or the value is absent.
inline TestRegistryValue ReadTestValue(const wchar_t* keyPath, const wchar_t* name,
                                       HKEY root = HKEY_CURRENT_USER) {
    TestRegistryValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return value;
    }
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.bytes.resize(size);
        if (RegQueryValueExW(key, name, nullptr, &value.type, value.bytes.data(), &size) ==
            ERROR_SUCCESS) {
            value.exists = true;
            value.bytes.resize(size);
        }
    }
    RegCloseKey(key);
    return value;
}

// The names of every value under the key, in the registry's order; empty when it is absent.
inline std::vector<std::wstring> TestValueNames(const wchar_t* keyPath) {
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return names;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD length = sizeof(name) / sizeof(name[0]);
        if (RegEnumValueW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

// PlatformTest with the sandbox around every test.
class RegistrySandboxTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        ASSERT_TRUE(BeginRegistrySandbox()) << "could not redirect HKEY_CURRENT_USER";
    }
    void TearDown() override {
        EndRegistrySandbox();
        PlatformTest::TearDown();
    }
};
