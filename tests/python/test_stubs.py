# SPDX-License-Identifier: MIT
"""The installed type stubs against the compiled module, so that editors show what it holds."""

import ast
import inspect
import pathlib

import wfconv
from wfconv import _wfconv

PACKAGE = pathlib.Path(wfconv.__file__).parent


def documented(body, prefix=""):
    """Name -> docstring of every public class, function and property in a stub body."""
    found = {}
    for node in body:
        if isinstance(node, (ast.ClassDef, ast.FunctionDef)) and not node.name.startswith("_"):
            found[prefix + node.name] = ast.get_docstring(node)
            if isinstance(node, ast.ClassDef):
                found.update(documented(node.body, node.name + "."))
    return found


def test_stubs_name_and_describe_everything_public():
    assert (PACKAGE / "py.typed").exists()
    stubs = documented(ast.parse((PACKAGE / "_wfconv.pyi").read_text()).body)
    assert {name for name in stubs if "." not in name} == {name for name in dir(_wfconv) if name[0] != "_"}
    for name, doc in stubs.items():
        owner, _, member = name.rpartition(".")
        value = getattr(getattr(_wfconv, owner), member) if owner else getattr(_wfconv, name)
        assert doc and inspect.cleandoc(value.__doc__) == doc, name
