# The two commands: `make run` builds Peerix and starts it under Wine; `make test` builds and
# runs every test tier. Both install what is missing first.
.PHONY: run test build deps bench clean

run:
	@scripts/deps.sh
	@scripts/build.sh win32 win64
	@scripts/run.sh

test:
	@scripts/test.sh

build:
	@scripts/deps.sh
	@scripts/build.sh

deps:
	@scripts/deps.sh

bench:
	@scripts/bench.sh

clean:
	rm -rf build
