# make run: install what building and running the viewer needs, build the
#           viewer alone (build-run/, no tests), open it on the demo log.
# make test: install everything, build it all with warnings as errors, run
#            every test, then the tests again under AddressSanitizer and
#            UndefinedBehaviorSanitizer.
# make lint: clang-tidy (.clang-tidy) over the program's code, clang-format's
#            check of every C++ file, and the check that the rooms point one way.
# make package: the full set-up and build, then build/loglezer_<version>-1_<arch>.deb,
#               checked with lintian.
# make fuzz: builds the fuzz targets with clang and runs each for
#            FUZZ_SECONDS (default 60), starting from tests/fuzz/corpus.

# What building and running the viewer needs.
RUN_PACKAGES := g++ cmake make qt6-base-dev libjpeg62-turbo-dev nlohmann-json3-dev fonts-liberation \
                qt6-translations-l10n libsqlite3-dev
# Besides, for the tests (vnStat and the sqlite3 tool make their databases), the benchmarks, the validators, the lint and the package.
PACKAGES := $(RUN_PACKAGES) libgtest-dev libbenchmark-dev xvfb xauth libjpeg-turbo-progs \
            desktop-file-utils appstream man-db dpkg-dev clang-tidy clang-format lintian locales \
            dunst dbus-x11 vnstat sqlite3
FUZZ_PACKAGES := cmake make clang libclang-rt-dev nlohmann-json3-dev libsqlite3-dev
FUZZ_TARGETS := fuzz_line fuzz_profile fuzz_load fuzz_stats
FUZZ_SECONDS ?= 60
JOBS := $(shell nproc)
SAN_ENV := ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Warnings as errors where WERROR is set (make test sets it); left unset, a
# build keeps what its folder was configured with.
WERROR_FLAG = $(if $(WERROR),-DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR))
# The folders clang-tidy reads; one that does not exist is passed over.
LINT_DIRS := log text settings stats allowance session frontend cli chart app

.PHONY: run test lint package deps deps-run build build-asan bench fuzz build-fuzz clean

deps-run:
	@tools/install-deps.sh $(RUN_PACKAGES)

deps:
	@tools/install-deps.sh $(PACKAGES)

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WERROR_FLAG)
	cmake --build build -j$(JOBS)

build-asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DLOGLEZER_SANITIZE=ON -DLOGLEZER_BENCH=OFF $(WERROR_FLAG)
	cmake --build build-asan -j$(JOBS)

run: deps-run
	cmake -S . -B build-run -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
	cmake --build build-run -j$(JOBS) --target loglezer
	cd demo && ../build-run/loglezer

test: WERROR := ON
test: build
	cd build && ctest --output-on-failure -j$(JOBS)
	$(MAKE) build-asan WERROR=ON
	cd build-asan && $(SAN_ENV) ctest --output-on-failure -j$(JOBS)

package: build
	rm -f build/loglezer_*.deb
	cd build && cpack -G DEB
	lintian --fail-on error,warning build/loglezer_*.deb

build-fuzz:
	@tools/install-deps.sh $(FUZZ_PACKAGES)
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLOGLEZER_FUZZ=ON
	cmake --build build-fuzz -j$(JOBS)

# Each target starts from the committed seeds; what it finds new goes into
# build-fuzz/corpus, an input that breaks it into build-fuzz/findings.
fuzz: build-fuzz
	@mkdir -p build-fuzz/findings
	@for t in $(FUZZ_TARGETS); do \
	    mkdir -p build-fuzz/corpus/$$t; \
	    echo "== $$t for $(FUZZ_SECONDS) s"; \
	    build-fuzz/$$t build-fuzz/corpus/$$t tests/fuzz/corpus/$$t -max_total_time=$(FUZZ_SECONDS) \
	        -dict=tests/fuzz/log.dict -timeout=10 -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 \
	        -artifact_prefix=build-fuzz/findings/$$t- 2>build-fuzz/$$t.log \
	        || { tail -n 60 build-fuzz/$$t.log; exit 1; }; \
	    grep -E "^(stat::number_of_executed_units|stat::average_exec_per_sec|Done)" build-fuzz/$$t.log; \
	done

# The checks of .clang-tidy, among them: every function of the program fits
# on a screen (60 lines).
lint: build
	printf '%s\n' $(wildcard $(addsuffix /*.cpp,$(LINT_DIRS))) | xargs -P$(JOBS) -n4 clang-tidy -p build --quiet
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
	tools/check-layers.sh

bench: build
	for b in build/bench_*; do $$b; done

clean:
	rm -rf build build-asan build-run build-fuzz
