# make run: install what is missing, build, open the viewer on the demo log.
# make test: the same set-up, then every test, then the tests again under
#            AddressSanitizer and UndefinedBehaviorSanitizer.
# make lint: clang-tidy's function-size check over the program's code.
# make package: the same set-up, then build/loglezer_<version>_<arch>.deb.
# make fuzz: builds the fuzz targets with clang and runs each for
#            FUZZ_SECONDS (default 60), starting from tests/fuzz/corpus.

PACKAGES := g++ cmake make qt6-base-dev libjpeg62-turbo-dev libgtest-dev libbenchmark-dev \
            nlohmann-json3-dev fonts-liberation xvfb xauth libjpeg-turbo-progs \
            desktop-file-utils appstream man-db dpkg-dev qt6-translations-l10n clang-tidy locales
FUZZ_PACKAGES := cmake make clang libclang-rt-dev nlohmann-json3-dev
FUZZ_TARGETS := fuzz_line fuzz_profile fuzz_load fuzz_stats
FUZZ_SECONDS ?= 60
JOBS := $(shell nproc)
SAN_ENV := ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: run test lint package deps build build-asan bench fuzz build-fuzz clean

deps:
	@tools/install-deps.sh $(PACKAGES)

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build -j$(JOBS)

build-asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DLOGLEZER_SANITIZE=ON -DLOGLEZER_BENCH=OFF
	cmake --build build-asan -j$(JOBS)

run: build
	cd demo && ../build/loglezer

test: build
	cd build && ctest --output-on-failure -j$(JOBS)
	$(MAKE) build-asan
	cd build-asan && $(SAN_ENV) ctest --output-on-failure -j$(JOBS)

package: build
	cd build && cpack -G DEB

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

# Every function of the program fits on a screen (.clang-tidy: 60 lines).
lint: build
	ls log/*.cpp stats/*.cpp chart/*.cpp app/*.cpp | xargs -P$(JOBS) -n4 clang-tidy -p build --quiet

bench: build
	for b in build/bench_*; do $$b; done

clean:
	rm -rf build build-asan build-fuzz
