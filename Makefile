# The two commands: `make run` builds Peerix and starts it under Wine; `make test` builds and
# runs every test tier. Both install what is missing first, as does `make dist`, which packs the
# zips a Windows user downloads into dist/.
.PHONY: run test build deps bench dist clean

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

dist:
	@scripts/dist.sh

clean:
	rm -rf build dist
