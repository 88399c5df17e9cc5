# SPDX-License-Identifier: MIT
"""wfconv-csv's tables, read by Python's csv module, numpy and pandas, against the command's channel files."""

import csv
import os
import pathlib
import shutil
import subprocess

import numpy as np
import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
EXE = os.environ.get("WFCONV_EXE", str(ROOT / "build-dev" / "wfconv"))
CSV_EXE = os.environ.get("WFCONV_CSV_EXE", str(pathlib.Path(EXE).with_name("wfconv-csv")))


@pytest.fixture(name="converted")
def fixture_converted(tmp_path):
    """The example converted by both programs: the channel files' values, and the run's directory."""
    example = tmp_path / "sine_square.wfm"
    shutil.copy(ROOT / "examples" / "sine_square.wfm", example)
    subprocess.run([EXE, example.name], cwd=tmp_path, check=True, capture_output=True)
    subprocess.run([CSV_EXE, example.name], cwd=tmp_path, check=True)
    subprocess.run([CSV_EXE, "--decimal-comma", "--interval", "0.5", "-o", "comma", example.name], cwd=tmp_path,
                   check=True)
    lines = [(tmp_path / f"sine_square.wfm{k}.txt").read_text().split() for k in (1, 2)]
    return [np.array(c, dtype=np.float64) for c in lines], tmp_path


def test_csv_module_reads_the_channel_files_numbers(converted):
    channels, where = converted
    with open(where / "sine_square.wfm.csv", newline="", encoding="utf-8") as table:
        rows = list(csv.reader(table))
    assert rows[0] == ["sample", "channel1", "channel2"]
    assert [int(r[0]) for r in rows[1:]] == list(range(len(channels[0])))
    for k, channel in enumerate(channels):
        assert np.array_equal([float(r[k + 1]) for r in rows[1:]], channel)


def test_numpy_and_csv_read_both_kinds_of_table(converted):
    channels, where = converted
    table = np.loadtxt(where / "sine_square.wfm.csv", delimiter=",", skiprows=1)
    assert np.array_equal(table[:, 1], channels[0]) and np.array_equal(table[:, 2], channels[1])
    with open(where / "comma" / "sine_square.wfm.csv", newline="", encoding="utf-8") as table:
        rows = [[float(cell.replace(",", ".")) for cell in row] for row in list(csv.reader(table, delimiter=";"))[1:]]
    assert np.array_equal(np.array(rows), np.column_stack([np.arange(len(rows)), np.arange(len(rows)) * 0.5, *channels]))


def test_pandas_reads_the_decimal_comma_table(converted):
    channels, where = converted
    pandas = pytest.importorskip("pandas")
    comma = pandas.read_csv(where / "comma" / "sine_square.wfm.csv", sep=";", decimal=",")
    assert list(comma.columns) == ["sample", "time", "channel1", "channel2"]
    assert np.array_equal(comma["time"], comma["sample"] * 0.5)
    assert np.array_equal(comma["channel1"], channels[0]) and np.array_equal(comma["channel2"], channels[1])
