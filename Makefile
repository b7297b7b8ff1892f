# make run: install what is missing, build, open the viewer on the demo log.
# make test: the same set-up, then every test, then the tests again under
#            AddressSanitizer and UndefinedBehaviorSanitizer.

PACKAGES := g++ cmake make qt6-base-dev libjpeg62-turbo-dev libgtest-dev libbenchmark-dev \
            nlohmann-json3-dev fonts-liberation xvfb xauth libjpeg-turbo-progs
JOBS := $(shell nproc)
SAN_ENV := ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: run test deps build build-asan bench clean

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

bench: build
	for b in build/bench_*; do $$b; done

clean:
	rm -rf build build-asan
