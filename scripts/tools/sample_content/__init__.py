"""The content that make_sample_products.py writes into samples/office7."""
