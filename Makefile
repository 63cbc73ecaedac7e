# The commands a person types. Everything they need is installed by tools/install-deps.
#   make test   install what is missing, build both configurations, run every test
#   make run    install, build, start qkli.exe under Wine
#   make bench  benchmarks;  make fuzz  a longer fuzzing run
#   make test-cp1251  the Wine tests once more with a Russian ANSI code page
BUILD    ?= build
NATIVE   := $(BUILD)/native
WINDOWS  := $(BUILD)/win
JOBS     ?= $(shell nproc)
GENERATOR := -G Ninja

.PHONY: all deps configure build test test-cp1251 run bench fuzz clean

all: build

deps:
	@tools/install-deps

$(NATIVE)/build.ninja: | deps
	cmake -S . -B $(NATIVE) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug

$(WINDOWS)/build.ninja: | deps
	cmake -S . -B $(WINDOWS) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake

configure: $(NATIVE)/build.ninja $(WINDOWS)/build.ninja

build: deps configure
	cmake --build $(NATIVE) -j $(JOBS)
	cmake --build $(WINDOWS) -j $(JOBS)

# The Windows runs end their Wine session and virtual display whatever the outcome.
test: build
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)
	ctest --test-dir $(WINDOWS) --output-on-failure -j $(JOBS); status=$$?; tools/wine-stop $(WINDOWS); exit $$status

# Wine takes the ANSI code page from LC_CTYPE, the user's language and formats from LC_MESSAGES:
# a Russian code page (1251) under an English user, so that the tests still find the dialogs
# they answer. The session of the default locale is ended first, so that nothing carries over.
test-cp1251: build
	tools/wine-stop $(WINDOWS)
	LC_CTYPE=ru_RU.UTF-8 LC_MESSAGES=en_US.UTF-8 ctest --test-dir $(WINDOWS) --output-on-failure -j $(JOBS); status=$$?; tools/wine-stop $(WINDOWS); exit $$status

run: build
	tools/run-qkli $(WINDOWS)

bench: build
	cmake --build $(NATIVE) --target bench
	cmake --build $(WINDOWS) --target bench; status=$$?; tools/wine-stop $(WINDOWS); exit $$status

fuzz: build
	cmake --build $(NATIVE) --target fuzz

clean:
	rm -rf $(BUILD)
