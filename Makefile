# Everyday verbs. `make test` is what CI runs; it installs what it needs first.
JOBS ?= 2

.PHONY: setup native windows release test test-native test-windows clean

setup:
	@scripts/setup

native: setup
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)

windows: setup
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)

# Kivet-<version>-win64.zip, the per-user and per-machine .msi and SHA256SUMS, in build/windows;
# signed with KIVET_SIGN_PFX, with a winget manifest with KIVET_RELEASE_URL (see README.md).
release: setup
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS) --target release

test-native: native
	ctest --preset native -j $(JOBS)

test-windows: windows
	scripts/with-wine-session build/windows ctest --preset windows -j $(JOBS)

test: test-native test-windows

# The contact sheet of the tray icon, drawn by its own renderer: every edge, colour scheme and
# line position on a light and a dark taskbar, in build/windows/kivet-sheet.png.
.PHONY: preview
preview: windows
	scripts/with-wine-session build/windows wine build/windows/tools/kivet-preview.exe \
		--sheet build/windows/kivet-sheet.png

clean:
	rm -rf build

# Kivet itself under Wine: on your display when there is one; otherwise on a private Xvfb
# screen with a Wine desktop and taskbar, with a screenshot in build/windows/taskbar.png.
# Ctrl-C closes it as Windows would and prints its exit code.
.PHONY: run
run: setup
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS) --target Kivet kivet-driver
	scripts/run-kivet build/windows
